#pragma once

#include "transfer/TransferContext.h"
#include "transfer/UploadFrame.h"

#include <string>

namespace setfolio {

class TransferView;

// The value itself when every character is a blank, "#", ",", "/", "_", a digit or a capital
// letter; otherwise the empty text.
std::string FilterMenuText(const std::string& value);

// One library of a menu-family processor into the file at `path`, along the model's library
// and global parameter lists.
void DownloadMenu(const TransferContext& context, TransferView& view, int library,
                  const std::string& path);

// One library file into library `library` of a menu-family processor; the global values go
// with the dialog's first library only (`firstOfRun`).
void UploadMenu(const TransferContext& context, TransferView& view, UploadState& state, int library,
                const std::string& path, bool firstOfRun);

} // namespace setfolio
