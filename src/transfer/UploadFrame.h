#pragma once

#include "transfer/TransferContext.h"

#include <cstdint>
#include <functional>
#include <string>

namespace setfolio {

// Kept between the choice of a file and the end of its upload.
struct UploadState {
    // The model the chosen file was written for; its tables decide what is sent.
    std::int32_t fileModelType = -1;
    // The parameter whose set command went out last; named after a transaction error.
    std::string lastParameterName;
    // The library at hand has taken a value (or the start of a dump): when its upload fails, it
    // is left partly written, and the user is told so.
    bool libraryTouched = false;
    // When set, what the file holds: it is not read, its name only names it (a restore's file,
    // which may come from a revision of a git repository).
    const std::string* content = nullptr;
};

// The frame of every upload engine: `body` gets the content of the file at `path`, to go into
// library `library`. A file that cannot be read ends the library as FileError, and so does one
// that has no model number or holds a library of another family than the processor's: nothing
// is sent for those. A lost connection ends the library as NoConnection. Then the outcome is
// reported.
void UploadFrom(const TransferContext& context, UploadState& state, int library,
                const std::string& path, const std::function<void(const std::string&)>& body);

// The closing step of every upload engine.
void ReportUploadResult(const TransferContext& context, const UploadState& state, int library,
                        const std::string& path);

} // namespace setfolio
