// A site's vocabulary file: any bytes, read as JSON, put into the tables of a coded model with
// conditional rows, and written back. Never a crash; a file that cannot be used says why.
#include "library/LibraryDecoder.h"
#include "tables/SiteVocabulary.h"

#include <cstdint>
#include <string>

using namespace setfolio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const SiteVocabulary vocabulary = ParseSiteVocabulary(text);
        (void)TablesOf(26, &vocabulary); // C-01
        (void)ParseSiteVocabulary(SiteVocabularyJson(vocabulary));
    } catch (const VocabularyError&) {
    }
    return 0;
}
