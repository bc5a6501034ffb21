#include "Verification.h"

#include "Command.h"
#include "LibraryText.h"
#include "Processor.h"

#include "i18n/Messages.h"
#include "library/LibraryComparison.h"

#include <algorithm>
#include <ostream>

namespace setfolio::cli {

int VerifyLibraries(const Processor& processor, const TransferOptions& libraries,
                    const Expected& expected, bool sentOnly, bool json) {
    std::ostream& out = processor.Io().out;
    const auto read = processor.ReadBack(libraries);
    const int last = libraries.last.value_or(libraries.first);
    int status = ExitOk;
    std::string report = "[";
    for (int library = libraries.first; library <= last; ++library) {
        const auto found = read.find(library);
        if (found == read.end())
            return ExitRefused; // its failure line has been printed
        const auto content = expected(library);
        if (!content)
            return ExitUsage;
        const SiteVocabulary* site = processor.Vocabulary();
        auto differences = CompareLibraries(DecodeLibrary(*content, std::nullopt, site),
                                            DecodeLibrary(found->second, std::nullopt, site));
        if (sentOnly)
            std::erase_if(differences,
                          [](const auto& difference) { return !difference.a || !difference.b; });
        if (AnyDifference(differences))
            status = ExitRefused;
        if (json) {
            report += std::string(library > libraries.first ? ",\n" : "\n") +
                      "{\"library\":" + std::to_string(library) +
                      ",\"differences\":" + DifferencesJson(differences, "file", "processor") + "}";
            continue;
        }
        if (differences.empty())
            continue;
        if (last > libraries.first)
            out << "Library " << library << ":\n";
        out << DifferencesText(differences);
        if (sentOnly) {
            std::string names;
            for (const auto& difference : differences) {
                if (difference.Differs())
                    names += (names.empty() ? "" : ", ") + difference.name;
            }
            if (!names.empty())
                out << processor.Texts().Format(OwnMsg::UploadNotVerified,
                                                {std::to_string(library), names})
                    << "\n";
        }
    }
    if (json)
        out << report << "]\n";
    out << std::flush;
    return status;
}

} // namespace setfolio::cli
