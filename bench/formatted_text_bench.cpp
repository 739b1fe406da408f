// Formatted text: a 60-octet UTF-8 field with diacritics in forms 1
// (Windows-1252 display) and 10 (RTF), and a record of 25 fields as raw text
// and as labelled text with its fixed-field block.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "marc/record/marc_record.h"

namespace {

// 60 octets: "$aDvořák, Antonín,$d1841-1904.$tSymfonie, č. 9 " decomposed.
const std::string kField = "\x1F" "aDvor\xCC\x8C" "a\xCC\x81" "k, Antoni\xCC\x81" "n,\x1F" "d1841-1904.\x1F"
                           "tSymfonie, c\xCC\x8C" ". 9, E moll";

void MakeRecord(Utf8MarcRecordClass& r) {
    r.CharacterSetOut("U");
    r.NewRecord("a", "m");
    r.FldFindFirst("008", "");
    r.FldText("960806s1995    it       b    000 0 ita  ");
    const std::vector<std::vector<std::string>> fields = {
        {"001", "", "104831"},
        {"010", "  ", "\x1F" "a   96177029 "},
        {"020", "  ", "\x1F" "a8885059066\x1F" "cL25000"},
        {"035", "  ", "\x1F" "a(ItFiC)it 96071036"},
        {"040", "  ", "\x1F" "aDLC\x1F" "cDLC\x1F" "dDLC"},
        {"041", "1 ", "\x1F" "aita\x1F" "hger"},
        {"050", "00", "\x1F" "aMLCS 2002/06831 (B)"},
        {"100", "1 ", kField},
        {"240", "10", "\x1F" "aSymfonie,\x1F" "nc\xCC\x8C" ". 9,\x1F" "rE moll."},
        {"245", "13", "\x1F" "aIl cammino della tradizione :\x1F" "bil tradizionalismo italiano /\x1F" "cPino Tosca."},
        {"250", "  ", "\x1F" "a2. ed."},
        {"260", "  ", "\x1F" "aRimini :\x1F" "bIl Cerchio,\x1F" "cc1995."},
        {"300", "  ", "\x1F" "a114 p. ;\x1F" "c21 cm."},
        {"440", " 3", "\x1F" "aLa bottega di Eraclito ;\x1F" "v12"},
        {"504", "  ", "\x1F" "aIncludes bibliographical references (p. 109-114)."},
        {"600", "10", "\x1F" "aEvola, Julius,\x1F" "d1898-1974."},
        {"650", " 0", "\x1F" "aTraditionalism\x1F" "zItaly\x1F" "xHistory\x1F" "y20th century."},
        {"651", " 0", "\x1F" "aItaly\x1F" "xIntellectual life\x1F" "y20th century."},
        {"700", "1 ", "\x1F" "aMu\xCC\x88" "ller, Jo\xCC\x88" "rg,\x1F" "d1950-"},
        {"710", "2 ", "\x1F" "aIl Cerchio (Firm)"},
        {"830", " 0", "\x1F" "aBottega di Eraclito ;\x1F" "v12."},
        {"856", "41", "\x1F" "uhttp://example.org/record/104831"},
        {"991", "  ", "\x1F" "bc-GenColl\x1F" "hMLCS 2002/06831 (B)\x1F" "tCopy 1\x1F" "wBOOKS"},
    };
    for (const auto& f : fields) r.FldAdd(f[0], f[1], f[2], false);
}

void FieldForm(benchmark::State& state) {
    Utf8MarcRecordClass r;
    r.CharacterSetOut("U");
    r.NewRecord("a", "m");
    r.FldAdd("100", "1 ", kField, false);
    const int32_t form = static_cast<int32_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(r.FldTextFormatted(form, false, 10, "", ""));
}
BENCHMARK(FieldForm)->Arg(1)->Arg(10);

void RecordTextRaw(benchmark::State& state) {
    Utf8MarcRecordClass r;
    MakeRecord(r);
    for (auto _ : state) benchmark::DoNotOptimize(r.TextRaw());
}
BENCHMARK(RecordTextRaw);

void RecordTextLabelled(benchmark::State& state) {
    Utf8MarcRecordClass r;
    MakeRecord(r);
    for (auto _ : state) benchmark::DoNotOptimize(r.TextFormatted(1, 1, "", false, 10));
}
BENCHMARK(RecordTextLabelled);

}  // namespace
