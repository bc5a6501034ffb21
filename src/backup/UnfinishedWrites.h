#pragma once

#include <string>
#include <vector>

namespace setfolio {

// A backup killed while it wrote a file (SIGKILL, a power cut) leaves the temporary file of that
// atomic write beside the file it was to replace. Removes such leftovers of our own in the
// destination, its .setfolio folder and the given section folders: a regular file named after a
// file the backup writes ("manifest.json", "last-run.json", "Library NNN.lvf") followed by
// ".tmp-" and six letters or digits. Nothing else is touched. Call it only while holding the
// destination's lock, so that no other run is writing there. Returns the paths removed.
std::vector<std::string> RemoveUnfinishedWrites(const std::string& destination,
                                                const std::vector<std::string>& sections);

// Whether `name` is such a leftover.
bool IsUnfinishedWrite(const std::string& name);

} // namespace setfolio
