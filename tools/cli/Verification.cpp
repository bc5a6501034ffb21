#include "Verification.h"

#include "Command.h"
#include "LibraryText.h"
#include "Processor.h"

#include "i18n/Messages.h"
#include "library/LibraryComparison.h"

#include <algorithm>
#include <ostream>

namespace setfolio::cli {

Verified VerifyLibraries(const Processor& processor, const TransferOptions& libraries,
                         const Expected& expected, bool sentOnly, bool json) {
    const auto read =
        processor.ReadBack(libraries, sentOnly ? "Reading back library" : "Reading library");
    const int last = libraries.last.value_or(libraries.first);
    Verified verified = Verified::Same;
    std::string report = "[";
    for (int library = libraries.first; library <= last; ++library) {
        const auto found = read.find(library);
        if (found == read.end())
            return Verified::NotRead; // its failure line has been printed
        const ExpectedLibrary should = expected(library);
        if (!should.content)
            return Verified::FileUnreadable;
        const SiteVocabulary* site = processor.Vocabulary();
        auto differences = CompareLibraries(DecodeLibrary(*should.content, std::nullopt, site),
                                            DecodeLibrary(found->second, std::nullopt, site));
        if (sentOnly)
            std::erase_if(differences,
                          [](const auto& difference) { return !difference.a || !difference.b; });
        if (AnyDifference(differences))
            verified = Verified::Different;
        if (json) {
            report += std::string(library > libraries.first ? ",\n" : "\n") +
                      "{\"library\":" + std::to_string(library) +
                      ",\"differences\":" + DifferencesJson(differences, "file", "processor") + "}";
            continue;
        }
        const std::string number = std::to_string(library);
        if (!AnyDifference(differences)) {
            // Choices whose numbers differ but whose texts are the same are named, as diff does.
            std::string text = "Library " + number + " matches " + should.file + ".";
            if (!differences.empty()) {
                text += "\n" + DifferencesText(differences, "file", "processor");
                text.pop_back();
            }
            processor.Print(text);
            continue;
        }
        std::string text = "Library " + number + " differs from " + should.file + ":\n" +
                           DifferencesText(differences, "file", "processor");
        if (sentOnly) {
            std::string names;
            for (const auto& difference : differences) {
                if (difference.Differs())
                    names += (names.empty() ? "" : ", ") + difference.name;
            }
            if (!names.empty())
                text += processor.Texts().Format(OwnMsg::UploadNotVerified, {number, names}) + "\n";
        }
        text.pop_back();
        processor.Print(text);
    }
    if (json)
        processor.Print(report + "]");
    return verified;
}

} // namespace setfolio::cli
