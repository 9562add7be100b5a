// Micro-benchmarks of the paths every chart runs through: the memory stream
// and its Flate transfer, the real-number writer, text measuring, object
// serialisation, and a whole in-process MakePDF.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/interpreter.h"
#include "app/settings.h"
#include "chart/make_pdf.h"
#include "pdf/content/pdf_contents.h"
#include "pdf/font/pdf_font_def.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_stream.h"

namespace {

// Counts what it is given and keeps nothing, so that only the writer is timed.
class NullOut : public PdfStreamBase {
 public:
  int Write(const void*, int len) override {
    if (len > 0) size_ += len;
    return len;
  }
};

// A page description shaped like the 1000-bar chart's, bar for bar: the
// bar's colour and rectangle, the label format, the label at the axis and
// the value at the bar's end (about 180 bytes per bar).
void WriteBarLines(PdfStreamBase& out, int bars) {
  unsigned seed = 8;
  for (int i = 0; i < bars; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int value = static_cast<int>((seed >> 16) % 1000) + 1;
    const double y = 17 + i * 9.963, length = value * 0.76039;
    out << 0.2 + value * 0.0004 << " " << 0.38 - value * 0.00016 << " " << 0.75 - value * 0.0005 << " rg\n";
    out << 33 << " " << y << " " << length << " " << 7.963 << " re\nf\n";
    out << "/F0 6 Tf\n0 Tr\n0 0 0 rg\n";
    out << "BT\n1 0 -0 1 " << 5.332 << " " << y + 0.43289 << " Tm\n(Item\\040" << 1000 + i << ") Tj\nET\n";
    out << "BT\n1 0 -0 1 " << 33 + length - 11.5 << " " << y + 0.43289 << " Tm\n(" << value << ") Tj\nET\n";
  }
}

void BM_MemStreamSmallWrites(benchmark::State& state) {
  for (auto _ : state) {
    PdfMemStream s;
    WriteBarLines(s, 1000);
    benchmark::DoNotOptimize(s.Size());
  }
  PdfMemStream probe;
  WriteBarLines(probe, 1000);
  state.SetBytesProcessed(state.iterations() * probe.Size());
}
BENCHMARK(BM_MemStreamSmallWrites)->Unit(benchmark::kMicrosecond);

void BM_MemStreamBlockWrites(benchmark::State& state) {
  const std::string block(static_cast<size_t>(state.range(0)), 'x');
  const int total = 200 * 1024;
  for (auto _ : state) {
    PdfMemStream s;
    for (int n = 0; n < total; n += static_cast<int>(block.size())) s.Write(block.data(), static_cast<int>(block.size()));
    benchmark::DoNotOptimize(s.Size());
  }
  state.SetBytesProcessed(state.iterations() * total);
}
BENCHMARK(BM_MemStreamBlockWrites)->Arg(64)->Arg(4096)->Unit(benchmark::kMicrosecond);

void BM_FlateTransfer(benchmark::State& state) {
  PdfMemStream s;
  WriteBarLines(s, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    NullOut out;
    benchmark::DoNotOptimize(s.DeflateTo(&out, nullptr));
  }
  state.SetBytesProcessed(state.iterations() * s.Size());
  state.counters["input_bytes"] = s.Size();
}
BENCHMARK(BM_FlateTransfer)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_PlainTransfer(benchmark::State& state) {
  PdfMemStream s;
  WriteBarLines(s, 1000);
  for (auto _ : state) {
    NullOut out;
    benchmark::DoNotOptimize(s.WriteTo(&out, nullptr));
  }
  state.SetBytesProcessed(state.iterations() * s.Size());
}
BENCHMARK(BM_PlainTransfer)->Unit(benchmark::kMicrosecond);

void BM_RealWriter(benchmark::State& state) {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> coordinate(0.0, 10000.0);
  std::vector<double> values(4096);
  for (size_t i = 0; i < values.size(); ++i) values[i] = i % 4 == 0 ? static_cast<double>(i) : coordinate(rng);
  NullOut out;
  size_t i = 0;
  for (auto _ : state) {
    out << values[i];
    i = (i + 1) & (values.size() - 1);
  }
  benchmark::DoNotOptimize(out.GetSize());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RealWriter);

void BM_IntegerWriter(benchmark::State& state) {
  NullOut out;
  int i = 0;
  for (auto _ : state) out << (i++ * 7919);
  benchmark::DoNotOptimize(out.GetSize());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IntegerWriter);

void BM_TextWidth(benchmark::State& state) {
  PdfDoc doc;
  doc.CreateDocument();
  doc.AddType1Font(new PdfHelveticaFontDef);
  PdfPage* page = doc.AddPage();
  PdfContents* c = page->GetContents();
  c->SetFontAndSize("Helvetica", 6);
  const char* texts[] = {"Item 0001", "Quarterly sales", "353", " ", "Thirty characters of a label."};
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c->TextWidth(texts[i]));
    i = (i + 1) % 5;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextWidth);

// A page-like dictionary: names, numbers, reals, an array, a text.
void BM_ObjectSerialisation(benchmark::State& state) {
  PdfDictionary dict(nullptr);
  dict.AddElement("Type", new PdfName("Page"));
  PdfArray* box = new PdfArray(nullptr);
  box->AddNumbers(0, 0, 800, 10000);
  dict.AddElement("MediaBox", box);
  PdfArray* reals = new PdfArray(nullptr);
  for (int i = 0; i < 16; ++i) reals->Add(new PdfReal(i * 1.25 + 0.333));
  dict.AddElement("Values", reals);
  dict.AddElement("Count", new PdfNumber(1000));
  dict.AddElement("Title", new PdfText("A title (with parentheses) and \\ backslash"));
  dict.AddElement("Name With Space", new PdfName("Needs#Escape"));
  NullOut out;
  for (auto _ : state) dict.WriteValueToStream(&out, nullptr);
  benchmark::DoNotOptimize(out.GetSize());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ObjectSerialisation);

// The whole renderer in-process: settings from the command language, the
// run sequence's sort and scale, then MakePDF writing a file. The log goes
// to standard output, which is sent to /dev/null meanwhile.
std::string g_dir;

void WriteDataset(const std::string& path, int n) {
  FILE* f = fopen(path.c_str(), "w");
  if (!f) std::abort();
  unsigned seed = 8;
  for (int i = 1; i <= n; ++i) {
    seed = seed * 1103515245u + 12345u;
    fprintf(f, "Item %04d,%u%s", i, (seed >> 16) % 1000 + 1, i < n ? "\n" : "");
  }
  fclose(f);
}

bool SetUpChart(int bars) {
  std::string data = g_dir + "/data" + std::to_string(bars) + ".csv";
  WriteDataset(data, bars);
  std::string commands = "-chart Bar H -page 800 " + std::to_string(bars * 10 < 600 ? 600 : bars * 10) +
                         " #FFFFFF -headingtitle 18 Helv #000000 Normal -title Bars"
                         " -axeslabelx 8 Helv #000000 Normal -axeslabely 6 Helv #000000 Normal -barlabel AE"
                         " -axesgridline 0.5 #C0C0C0 -axesline 1 #000000 XY -barcolor #3060C0 #C03030"
                         " -barspacing 2 -dataset " +
                         data + " -output " + g_dir + "/chart.pdf";
  resetChartSettings();
  for (Datum& d : chartSettings.data) d = Datum{};
  if (interpretCommands(commands.c_str()) != 0) return false;
  sortData();
  deriveValueScale();
  return true;
}

void BM_MakePDF(benchmark::State& state) {
  fflush(stdout);
  int saved = dup(1);
  int devnull = open("/dev/null", O_WRONLY);
  dup2(devnull, 1);
  close(devnull);
  bool ok = SetUpChart(static_cast<int>(state.range(0)));
  int result = 0;
  if (ok) {
    for (auto _ : state) result |= MakePDF();
  }
  fflush(stdout);
  dup2(saved, 1);
  close(saved);
  if (!ok || result != 0) state.SkipWithError("the chart was not written");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MakePDF)->Arg(3)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  char dir[] = "/tmp/pv-bench-XXXXXX";
  if (!mkdtemp(dir)) return 1;
  g_dir = dir;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const char* name : {"/chart.pdf", "/data3.csv", "/data100.csv", "/data1000.csv"})
    std::remove((g_dir + name).c_str());
  rmdir(dir);
  return 0;
}
