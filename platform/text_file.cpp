#include "platform/text_file.h"

#include <fstream>
#include <map>
#include <memory>

#include "common/raised_error.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr int32_t kBadFileNameOrNumber = 52;
constexpr int32_t kInputPastEnd = 62;
constexpr int32_t kTooManyFiles = 67;

struct OpenEntry {
    FileMode mode;
    std::fstream stream;
};

std::map<int16_t, std::unique_ptr<OpenEntry>>& Files() {
    static std::map<int16_t, std::unique_ptr<OpenEntry>> files;
    return files;
}

OpenEntry& Entry(int16_t number) {
    auto it = Files().find(number);
    if (it == Files().end()) RaiseRuntimeError(kBadFileNameOrNumber);
    return *it->second;
}

OpenEntry& Writable(int16_t number) {
    OpenEntry& e = Entry(number);
    if (e.mode == FileMode::Input) RaiseRuntimeError(ErrorNumber::BadFileMode);
    return e;
}

}  // namespace

int16_t FreeFile() {
    for (int16_t n = 1; n <= 255; ++n)
        if (!Files().count(n)) return n;
    RaiseRuntimeError(kTooManyFiles);
}

void OpenFile(int16_t number, const std::string& path, FileMode mode) {
    if (number < 1 || number > 511) RaiseRuntimeError(kBadFileNameOrNumber);
    if (Files().count(number)) RaiseRuntimeError(ErrorNumber::FileAlreadyOpen);
    auto entry = std::make_unique<OpenEntry>();
    entry->mode = mode;
    std::string real = MapWindowsPath(path);
    switch (mode) {
        case FileMode::Input:
            entry->stream.open(real, std::ios::in | std::ios::binary);
            if (!entry->stream) RaiseRuntimeError(ErrorNumber::FileNotFound);
            break;
        case FileMode::Output:
            entry->stream.open(real, std::ios::out | std::ios::trunc | std::ios::binary);
            break;
        case FileMode::Append:
            entry->stream.open(real, std::ios::out | std::ios::app | std::ios::binary);
            break;
    }
    if (!entry->stream) RaiseRuntimeError(ErrorNumber::PathFileAccessError);
    Files()[number] = std::move(entry);
}

void PrintText(int16_t number, const std::string& text) {
    OpenEntry& e = Writable(number);
    e.stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    e.stream.flush();
    if (!e.stream) RaiseRuntimeError(ErrorNumber::PathFileAccessError);
}

void PrintLine(int16_t number, const std::string& text) { PrintText(number, text + "\r\n"); }

std::string LineInput(int16_t number) {
    OpenEntry& e = Entry(number);
    if (e.mode != FileMode::Input) RaiseRuntimeError(ErrorNumber::BadFileMode);
    if (e.stream.peek() == std::char_traits<char>::eof()) RaiseRuntimeError(kInputPastEnd);
    std::string line;
    std::getline(e.stream, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool ReadChars(int16_t number, size_t count, std::string& sOut) {
    OpenEntry& e = Entry(number);
    if (e.mode != FileMode::Input) RaiseRuntimeError(ErrorNumber::BadFileMode);
    const size_t start = sOut.size();
    sOut.resize(start + count);
    e.stream.read(sOut.data() + start, static_cast<std::streamsize>(count));
    const auto got = static_cast<size_t>(e.stream.gcount());
    sOut.resize(start + got);
    if (got == count) return true;
    e.stream.clear();  // the file stays usable at its end
    return false;
}

bool Eof(int16_t number) {
    OpenEntry& e = Entry(number);
    if (e.mode != FileMode::Input) return true;
    return e.stream.peek() == std::char_traits<char>::eof();
}

void CloseFile(int16_t number) { Files().erase(number); }

void CloseAllFiles() { Files().clear(); }

bool AppendLine(const std::string& path, const std::string& text) {
    std::ofstream out(MapWindowsPath(path), std::ios::out | std::ios::app | std::ios::binary);
    if (!out) return false;
    out << text << "\r\n";
    out.close();
    return !out.fail();
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(MapWindowsPath(path), std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out) return false;
    out << text;
    out.close();
    return !out.fail();
}

}  // namespace platform
