// Fills order files and subfield-order patterns from the input, sets the
// folder of the order files, installs the rules by a load or a new record,
// then adds fields and subfields with tags, indicators and codes from the
// input, so that keys, the subfield-order test and its shifts meet every
// kind of rule. No input may crash, hang or read outside a buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/raised_error.h"
#include "fuzz/fuzz_input.h"
#include "marc/record/marc_record.h"

namespace {

using Input = FuzzInput;

// One folder for the whole run, its files written anew for each input and
// removed with it when the run ends.
std::string g_folder;

void RemoveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
}

const std::string& Folder() {
    if (g_folder.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "order-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        g_folder = pattern;
        std::atexit(RemoveFolder);
    }
    return g_folder;
}

void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    static const char* const kFiles[] = {"bibsup.cfg", "holdsup.cfg", "authsup.cfg"};
    static const char* const kSections[] = {"[ExtendedFieldOrder]\n", "[FieldOrder]\n", "[SubfieldOrder]\n"};
    static const char* const kFormats[] = {"A", "B", "H", "O", "M", "Q"};
    static const char* const kTags[] = {"100", "245", "650", "880", "853", "700", "400", "336", "000", "999"};

    // The three order files: a few sections of input lines each.
    for (const char* file : kFiles) {
        std::string sFile;
        for (int section = in.Byte() % 4; section > 0; --section) {
            sFile += kSections[in.Byte() % 3];
            for (int lines = in.Byte() % 8; lines > 0; --lines) sFile += in.Text(64) + "\n";
        }
        WriteFile(Folder() + "/" + file, sFile);
    }

    Utf8MarcRecordClass record;
    try {
        const uint8_t setup = in.Byte();
        if (setup & 1) record.FldOrderFolder(Folder());
        if (setup & 2) record.SetSfdOrder(kFormats[in.Byte() % 6], kTags[in.Byte() % 10], in.Text(64));
        if (setup & 4) record.Nuc(in.Text(32));
        if (setup & 8) record.ClearSfdOrder(kFormats[in.Byte() % 6]);
        if (setup & 16) record.SetFldOrder(kFormats[in.Byte() % 6], in.Text(4), in.Text(4), in.Byte() % 15);
        static const char* const kTypes[] = {"a", "z", "v", "u", "q"};
        record.NewRecord(kTypes[in.Byte() % 5], "m");
        record.MakeNoChange((setup & 32) != 0);
        record.TestSubfieldOrder((setup & 64) == 0);
    } catch (const RaisedError&) {
    }

    int operations = 0;
    while (in.More() && ++operations < 100) {
        const uint8_t op = in.Byte();
        try {
            switch (op % 5) {
                case 0: {
                    const std::string sInd{static_cast<char>(in.Byte()), static_cast<char>(in.Byte())};
                    record.FldAdd(kTags[in.Byte() % 10], sInd, in.Text(256), false);
                    break;
                }
                case 1: record.SfdAdd(std::string(1, static_cast<char>(in.Byte())), in.Text(32)); break;
                case 2: record.SfdInsertBefore(std::string(1, static_cast<char>(in.Byte())), in.Text(32)); break;
                case 3: record.FldChange(kTags[in.Byte() % 10], "  ", in.Text(256)); break;
                default: record.FldPointer(static_cast<int16_t>(in.Byte() % 8)); break;
            }
        } catch (const RaisedError&) {
        }
    }
    return 0;
}
