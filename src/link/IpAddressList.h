#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// The list file: one entry per line. CR LF, a lone CR or a lone LF ends a line; a line break at
// the very end adds no entry, and an empty line in the middle is an empty entry.
std::vector<std::string> ParseIpAddressList(std::string_view bytes);
// Every entry followed by CR LF.
std::string FormatIpAddressList(const std::vector<std::string>& entries);

// "IpAddressList.txt" in the settings folder.
class IpAddressListFile {
public:
    static constexpr std::string_view FileName = "IpAddressList.txt";
    explicit IpAddressListFile(const std::string& folder);

    const std::string& Path() const { return m_path; }
    bool Exists() const;
    // Throws std::runtime_error when the file exists but cannot be read.
    std::vector<std::string> Read() const;
    // Atomic, making the folder when it is missing; throws WriteError, leaving the old file as
    // it was.
    void Write(const std::vector<std::string>& entries) const;

private:
    std::string m_path;
};

} // namespace setfolio
