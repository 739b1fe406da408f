#pragma once
// Sequential files addressed by file numbers, as the original code used
// them: open for input, output or append, print lines, read lines or blocks of
// octets, close.
// Printed lines end in CR LF, as the original wrote them. Paths written the
// Windows way are mapped (paths.h).

#include <cstdint>
#include <string>

namespace platform {

enum class FileMode { Input, Output, Append };

// The lowest file number not in use (1 to 255); raises 67 when all are taken.
int16_t FreeFile();
// Opens a file under a number; raises 55 when the number is in use, 53 when an
// input file is missing, 75 when the file cannot be opened.
void OpenFile(int16_t number, const std::string& path, FileMode mode);
// Writes text and CR LF; raises 52 for a number not open, 54 for an input file,
// 75 when the write fails.
void PrintLine(int16_t number, const std::string& text);
// Writes text without a line end.
void PrintText(int16_t number, const std::string& text);
// Reads the next line without its line end (LF or CR LF); raises 62 past the end.
std::string LineInput(int16_t number);
bool Eof(int16_t number);
// Reads count octets from the current position of a file open for input and
// appends them to sOut: true when all of them were there. A read that would
// pass the end of the file fails: it appends what remained and returns false.
// Raises 52 for a number not open, 54 for a file not open for input.
bool ReadChars(int16_t number, size_t count, std::string& sOut);
void CloseFile(int16_t number);
void CloseAllFiles();

// Whole-file helpers for the callers that open, write and close in one step.
// AppendLine returns false (and raises nothing) when the file cannot be written.
bool AppendLine(const std::string& path, const std::string& text);
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace platform
