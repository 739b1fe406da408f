// XMLRecordOut(0) alone on a loaded record: a UTF-8 bibliographic record of
// 20 fields and 33 subfields, about 1 KB, with "&" and "<" to escape.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"

namespace {

std::string Record() {
    const std::vector<record_test::TaggedField> fields = {
        {"001", "104831"},
        {"005", "20020724161346.0"},
        {"008", "960806s1995    it       b    000 0 ita  "},
        {"010", "  \x1F" "a   96177029 "},
        {"020", "  \x1F" "a8885059066\x1F" "cL25000"},
        {"035", "  \x1F" "a(ItFiC)it 96071036"},
        {"040", "  \x1F" "aDLC\x1F" "cDLC\x1F" "dDLC"},
        {"041", "1 \x1F" "aita\x1F" "hger"},
        {"050", "00\x1F" "aMLCS 2002/06831 (B)"},
        {"100", "1 \x1F" "aDvor\xCC\x8C" "a\xCC\x81" "k, Antoni\xCC\x81" "n,\x1F" "d1841-1904."},
        {"240", "10\x1F" "aSymfonie,\x1F" "nc\xCC\x8C" ". 9,\x1F" "rE moll."},
        {"245", "13\x1F" "aIl cammino della tradizione :\x1F" "bil tradizionalismo italiano & <altro>, 1920-1990 /\x1F"
                "cPino Tosca."},
        {"250", "  \x1F" "a2. ed."},
        {"260", "  \x1F" "aRimini :\x1F" "bIl Cerchio,\x1F" "cc1995."},
        {"300", "  \x1F" "a114 p. ;\x1F" "c21 cm."},
        {"440", " 3\x1F" "aLa bottega di Eraclito ;\x1F" "v12"},
        {"504", "  \x1F" "aIncludes bibliographical references (p. 109-114)."},
        {"650", " 0\x1F" "aTraditionalism\x1F" "zItaly\x1F" "xHistory\x1F" "y20th century."},
        {"700", "1 \x1F" "aMu\xCC\x88" "ller, Jo\xCC\x88" "rg,\x1F" "d1950-"},
        {"991", "  \x1F" "bc-GenColl\x1F" "hMLCS 2002/06831 (B)\x1F" "tCopy 1\x1F" "wBOOKS"},
    };
    return record_test::Iso2709("00000cam a2200000 a 4500", fields);
}

void MarcxmlOut(benchmark::State& state) {
    const std::string text = Record();
    Utf8MarcRecordClass record;
    record.MarcRecordIn(text);
    size_t octets = 0;
    for (auto _ : state) {
        const std::string sDocument = record.XMLRecordOut(0);
        octets = sDocument.size();
        benchmark::DoNotOptimize(sDocument.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(octets));
}
BENCHMARK(MarcxmlOut);

}  // namespace
