#pragma once
// Record texts for the tests and benchmarks, written independently of the
// record object: a leader's 24 characters with the lengths filled in, a
// directory and the fields, each given as its data without the terminator.

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace record_test {

using TaggedField = std::pair<std::string, std::string>;

// A whole ISO 2709 text; positions 00-04 and 12-16 of `leader` are replaced.
inline std::string Iso2709(std::string leader, const std::vector<TaggedField>& fields) {
    std::string directory, data;
    char number[16];
    for (const auto& [tag, content] : fields) {
        std::snprintf(number, sizeof number, "%04zu%05zu", content.size() + 1, data.size());
        directory += tag + number;
        data += content + "\x1E";
    }
    const size_t base = 24 + directory.size() + 1;
    std::snprintf(number, sizeof number, "%05zu", base);
    leader.replace(12, 5, number);
    std::string text = leader + directory + "\x1E" + data + "\x1D";
    std::snprintf(number, sizeof number, "%05zu", text.size());
    text.replace(0, 5, number);
    return text;
}

// yaz-marcdump's line form of a file, its messages included.
inline std::string YazDump(const std::string& path) {
    std::string out;
    FILE* pipe = popen(("yaz-marcdump '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return "(no yaz-marcdump)";
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

}  // namespace record_test
