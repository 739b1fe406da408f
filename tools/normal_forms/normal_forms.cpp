// normal_forms: the normal forms that the database reader's searches compare
// with, for the programs that write a library's index rows (the demo and test
// data generator). One process serves many texts: it reads one request a
// line on standard input and writes one form a line on standard output, in
// the same order; output is flushed whenever no further input is waiting, so
// the tool answers line by line when used by hand.
//
//     normal_forms [--hex]
//
// A request is tab-separated: a kind, its arguments, then the text (which may
// itself hold tabs). With --hex the text and the form are written as
// hexadecimal octets, so that any octet passes; otherwise both are plain.
//
//   bib TAG INDICATORS TEXT  a bibliographic heading as SearchBibHeading
//                            searches it: decomposed, the field normal form
//                            of format "B", cut to 150 octets and trimmed
//   heading TEXT             a heading or subdivision as SearchHeading and
//                            SearchSubdiv search it (format "A", tag 100)
//   call TYPE TEXT           a call number of that call-number type, as the
//                            normal call-number search compares it
//   std TAG TEXT             a standard number of that tag (010, 020, 022, 035)
//
// A line that names no known kind, or lacks arguments, gets an empty line and
// a message on standard error; the exit status is then 1.

#include <iostream>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"

namespace {

constexpr size_t MaxBibNormalLength = 150;

// The first `count` tab-separated fields, and the rest of the line as the last.
std::vector<std::string> SplitRequest(const std::string& line, size_t count) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < count) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string::npos) break;
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

class NormalForms {
public:
    NormalForms() {
        // As the reader's record object stands once it has probed a UTF-8 database.
        record_.CharacterSetIn("U");
        record_.CharacterSetOut("U");
        record_.NormalizationScheme("V");
    }

    // Empty with ok false when the request is not understood.
    std::string Form(const std::string& kind, const std::vector<std::string>& args, const std::string& text,
                     bool& ok) {
        ok = true;
        if (kind == "bib" && args.size() == 2) {
            std::string form = FieldForm("B", args[0], args[1], text);
            if (form.size() > MaxBibNormalLength) form = rt::Trim(form.substr(0, MaxBibNormalLength));
            return form;
        }
        if (kind == "heading" && args.empty()) return FieldForm("A", "100", "10", text);
        if (kind == "call" && args.size() == 1) return rt::RTrim(record_.NormalizeCallNumber(text, args[0]));
        if (kind == "std" && args.size() == 1) return record_.NormalizeStandardNumber(args[0], text);
        ok = false;
        return "";
    }

    static size_t ArgumentCount(const std::string& kind) {
        if (kind == "bib") return 2;
        if (kind == "call" || kind == "std") return 1;
        return 0;
    }

private:
    std::string FieldForm(const std::string& format, const std::string& tag, const std::string& indicators,
                          const std::string& text) {
        bool changed = false;
        const std::string decomposed = record_.DecomposeUnicodeCharactersInString(text, changed);
        std::string scratch;
        return record_.NormalizeWholeField("V", format, tag, indicators, decomposed, scratch);
    }

    Utf8MarcRecordClass record_;
};

}  // namespace

int main(int argc, char** argv) {
    bool hex = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--hex") {
            hex = true;
        } else {
            std::cerr << "usage: normal_forms [--hex] < requests\n";
            return 2;
        }
    }
    std::ios::sync_with_stdio(false);
    NormalForms forms;
    int status = 0;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t tab = line.find('\t');
        const std::string kind = line.substr(0, tab);
        std::vector<std::string> fields =
            tab == std::string::npos ? std::vector<std::string>{} : SplitRequest(line.substr(tab + 1), NormalForms::ArgumentCount(kind));
        std::string form;
        bool ok = !fields.empty();
        if (ok) {
            const std::string text = hex ? UtliMiscNonUtf8::HexToText(fields.back()) : fields.back();
            fields.pop_back();
            try {
                form = forms.Form(kind, fields, text, ok);
            } catch (const RaisedError& e) {
                std::cerr << "normal_forms: " << e.Description() << ": " << line << "\n";
                status = 1;
            }
        }
        if (!ok) {
            std::cerr << "normal_forms: not understood: " << line << "\n";
            status = 1;
        }
        std::cout << (hex ? UtliMiscNonUtf8::TextToHex(form) : form) << '\n';
        if (std::cin.rdbuf()->in_avail() <= 0) std::cout.flush();
    }
    return status;
}
