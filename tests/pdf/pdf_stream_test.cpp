// Output streams: integer and real forms, the file stream's failures, the
// chunked memory stream and its plain and Flate transfers; also the pointer
// list, the exception and the ownership registry they rest on.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "pdf/pdf_auto_ptr.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_list.h"
#include "pdf/pdf_stream.h"
#include "tests/pdf/core_test_util.h"
#include "tests/support/test_support.h"

using coretest::CatchPdf;
using coretest::MemBytes;
using coretest::StringOut;

namespace {

std::string RealText(double value) {
  StringOut out;
  out << value;
  return out.data;
}

std::string Inflate(const std::string& data) {
  z_stream z{};
  EXPECT_EQ(inflateInit(&z), Z_OK);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  std::string result;
  char buf[4096];
  int rc;
  do {
    z.next_out = reinterpret_cast<Bytef*>(buf);
    z.avail_out = sizeof buf;
    rc = inflate(&z, Z_NO_FLUSH);
    result.append(buf, sizeof buf - z.avail_out);
  } while (rc == Z_OK);
  inflateEnd(&z);
  EXPECT_EQ(rc, Z_STREAM_END) << "the data is not one complete zlib stream";
  return result;
}

// Bytes that compress badly, so the deflated form spans several output buffers.
std::string NoisyBytes(int n, unsigned seed) {
  std::string s(n, '\0');
  for (int i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    s[i] = static_cast<char>(seed >> 16);
  }
  return s;
}

TEST(PdfListTest, GrowsByTwentyAndKeepsOrder) {
  PdfList list;
  EXPECT_EQ(list.Capacity(), 0);
  int items[45];
  for (int i = 0; i < 45; ++i) {
    ASSERT_TRUE(list.Add(&items[i]));
    EXPECT_EQ(list.Capacity(), ((i / 20) + 1) * 20) << "after " << i + 1 << " items";
  }
  EXPECT_EQ(list.Count(), 45);
  for (int i = 0; i < 45; ++i) EXPECT_EQ(list.ItemAt(i), &items[i]);
  EXPECT_EQ(list.ItemAt(45), nullptr);
  EXPECT_EQ(list.ItemAt(-1), nullptr);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 60);
  EXPECT_EQ(list.ItemAt(0), nullptr);
}

TEST(PdfListTest, InsertRemoveFind) {
  PdfList list;
  int a, b, c, d;
  ASSERT_TRUE(list.Add(&a));
  ASSERT_TRUE(list.Add(&b));
  ASSERT_TRUE(list.Insert(&c, 0));  // c a b
  ASSERT_TRUE(list.Insert(&d, 3));  // c a b d
  EXPECT_FALSE(list.Insert(&d, 5));
  EXPECT_FALSE(list.Insert(&d, -1));
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Find(&c), 0);
  EXPECT_EQ(list.Find(&a), 1);
  EXPECT_EQ(list.Find(&d), 3);
  EXPECT_EQ(list.Remove(1), &a);  // c b d
  EXPECT_EQ(list.Find(&a), -1);
  EXPECT_EQ(list.ItemAt(1), &b);
  EXPECT_EQ(list.Remove(7), nullptr);
  EXPECT_EQ(list.Remove(2), &d);
  EXPECT_EQ(list.Count(), 2);
}

TEST(PdfExceptionTest, CodeAndMessageCutTo512) {
  PdfException e(-5, "ERROR: page[%d] %s", 3, "x");
  EXPECT_EQ(e.GetCode(), -5);
  EXPECT_STREQ(e.what(), "ERROR: page[3] x");
  std::string longText(2000, 'm');
  PdfException big(-9, "%s", longText.c_str());
  EXPECT_EQ(std::string(big.what()), std::string(512, 'm'));
}

class Tracked : public PdfAutoPtrObject {
 public:
  Tracked(std::vector<int>* log, int id) : log_(log), id_(id) {}
  ~Tracked() override { log_->push_back(id_); }
  void OnRegistered() override { ++hooks; }
  int hooks = 0;

 private:
  std::vector<int>* log_;
  int id_;
};

TEST(PdfAutoPtrMgrTest, OwnsInRegistrationOrder) {
  std::vector<int> deleted;
  {
    PdfAutoPtrMgr mgr;
    Tracked* one = new Tracked(&deleted, 1);
    Tracked* two = new Tracked(&deleted, 2);
    Tracked* three = new Tracked(&deleted, 3);
    mgr.RegisterObject(two);
    mgr.RegisterObject(one);
    mgr.RegisterObject(three);
    mgr.RegisterObject(one);  // already here: nothing happens
    EXPECT_EQ(mgr.Count(), 3);
    EXPECT_EQ(one->hooks, 1);
    EXPECT_EQ(one->GetAutoPtrMgr(), &mgr);
    delete three;  // unregisters itself
    EXPECT_EQ(mgr.Count(), 2);
    EXPECT_EQ(deleted, std::vector<int>({3}));
  }
  EXPECT_EQ(deleted, std::vector<int>({3, 2, 1}));
}

TEST(PdfAutoPtrMgrTest, ThingOfAnotherRegistryIsRefusedByPointer) {
  std::vector<int> deleted;
  PdfAutoPtrMgr first, second;
  Tracked* thing = new Tracked(&deleted, 7);
  first.RegisterObject(thing);
  PdfException* caught = nullptr;
  try {
    second.RegisterObject(thing);
  } catch (PdfException* e) {
    caught = e;
  }
  ASSERT_NE(caught, nullptr);
  EXPECT_EQ(caught->GetCode(), -5);
  EXPECT_STREQ(caught->what(), "ERROR:PdfAutoPtrMgr::RegisterObject this object owned by other object.");
  delete caught;
  EXPECT_EQ(second.Count(), 0);
  EXPECT_EQ(thing->GetAutoPtrMgr(), &first);
  first.Unregister(thing);
  EXPECT_EQ(thing->GetAutoPtrMgr(), nullptr);
  EXPECT_EQ(first.Count(), 0);
  second.RegisterObject(thing);
  EXPECT_EQ(second.Count(), 1);
}

TEST(PdfStreamBaseTest, IntegerForms) {
  StringOut out;
  out << 0 << " " << -1 << " " << INT_MAX << " " << INT_MIN << " " << 4294967295u << " " << 'c';
  EXPECT_EQ(out.data, "0 -1 2147483647 -2147483648 4294967295 c");
  EXPECT_EQ(out.GetSize(), static_cast<int>(out.data.size()));
}

TEST(PdfStreamBaseTest, RealForms) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {1.5, "1.5"},          {2.0, "2"},         {-0.25, "-0.25"},        {0.0, "0"},
      {1.0 / 3.0, "0.33333"}, {2.0 / 3.0, "0.66667"}, {32767.0, "32767"},   {-32767.0, "-32767"},
      {72.0, "72"},          {0.1, "0.1"},       {100.0, "100"},          {10.05, "10.05"},
      {-0.000001, "-0"},     {0.000001, "0"},    {0.00001, "0.00001"},    {32766.99999, "32766.99999"},
      {-5.0, "-5"},          {596.0, "596"},     {1e-300, "0"},           {12.345678, "12.34568"},
  };
  for (const auto& c : cases) EXPECT_EQ(RealText(c.value), c.text) << "value " << c.value;
}

TEST(PdfStreamBaseTest, RealsOutsideTheRangeThrowAndWriteNothing) {
  const double refused[] = {40000.0,
                            32767.0001,
                            -32767.5,
                            -40000.0,
                            std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
  for (double v : refused) {
    StringOut out;
    auto c = CatchPdf([&] { out << v; });
    EXPECT_EQ(c.code, -4) << v;
    EXPECT_EQ(c.message.rfind("error: operator<<(const double d)[", 0), 0u) << c.message;
    EXPECT_EQ(out.data, "") << v;
  }
  StringOut out;
  auto c = CatchPdf([&] { out << 40000.0; });
  EXPECT_EQ(c.message, "error: operator<<(const double d)[40000.000000]\n.");
}

// A locale with a decimal comma: one installed, or one compiled for the test.
std::string CommaLocale() {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR", "nl_NL.UTF-8"};
  for (const char* n : names) {
    if (setlocale(LC_NUMERIC, n) && localeconv()->decimal_point[0] == ',') return n;
  }
  std::string dir = pvtest::makeTempDir();
  if (pvtest::runShell("localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8'") != 0) return "";
  setenv("LOCPATH", dir.c_str(), 1);
  if (setlocale(LC_NUMERIC, "de_DE.UTF-8") && localeconv()->decimal_point[0] == ',') return "de_DE.UTF-8";
  return "";
}

TEST(PdfStreamBaseTest, CommaLocaleStillWritesPoint) {
  std::string name = CommaLocale();
  if (name.empty()) {
    setlocale(LC_NUMERIC, "C");
    GTEST_SKIP() << "no locale with a decimal comma is available";
  }
  char probe[16];
  snprintf(probe, sizeof probe, "%.1f", 2.5);
  EXPECT_STREQ(probe, "2,5") << "the locale " << name << " is not in effect";
  std::string a = RealText(2.5), b = RealText(-0.125), c = RealText(3.0), d = RealText(1.0 / 3.0);
  setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
  EXPECT_EQ(a, "2.5");
  EXPECT_EQ(b, "-0.125");
  EXPECT_EQ(c, "3");
  EXPECT_EQ(d, "0.33333");
}

TEST(PdfFileStreamTest, OpenInMissingFolderFailsAtFirstWrite) {
  std::string dir = pvtest::makeTempDir();
  PdfFileStream stream((dir + "/no-such-folder/out.pdf").c_str());
  EXPECT_EQ(stream.GetError(), ENOENT);
  auto c = CatchPdf([&] { stream << "x"; });
  EXPECT_EQ(c.code, -3);
  EXPECT_EQ(c.message, "ERROR: cannot write to stream(" + std::to_string(ENOENT) + ").");
}

TEST(PdfFileStreamTest, WritesBytesAndCountsThem) {
  std::string path = pvtest::makeTempDir() + "/out.bin";
  {
    PdfFileStream stream(path.c_str());
    stream << "abc" << 12 << 1.5;
    EXPECT_EQ(stream.GetSize(), 8);
  }
  EXPECT_EQ(pvtest::readFile(path), "abc121.5");
}

TEST(PdfFileStreamTest, WriteFailureThrowsWithErrno) {
  FILE* full = fopen("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "/dev/full is not available";
  setvbuf(full, nullptr, _IONBF, 0);
  PdfFileStream stream(full, true);
  auto c = CatchPdf([&] { stream << "data"; });
  EXPECT_EQ(c.code, -3);
  EXPECT_EQ(c.message, "ERROR: cannot write to stream(" + std::to_string(ENOSPC) + ").");
  EXPECT_EQ(stream.GetError(), ENOSPC);
}

TEST(PdfMemStreamTest, ChunksOf1024) {
  PdfMemStream s;
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.ChunkCount(), 0);
  int n = -1;
  EXPECT_EQ(s.GetChunk(0, &n), nullptr);
  std::string k(1024, 'k');
  EXPECT_EQ(s.Write(k.data(), 1024), 1024);
  EXPECT_EQ(s.ChunkCount(), 1);
  EXPECT_EQ(s.Size(), 1024);
  s.Write("z", 1);
  EXPECT_EQ(s.ChunkCount(), 2);
  EXPECT_EQ(s.Size(), 1025);
  ASSERT_NE(s.GetChunk(0, &n), nullptr);
  EXPECT_EQ(n, 1024);
  ASSERT_NE(s.GetChunk(1, &n), nullptr);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(s.GetChunk(1, &n)[0], 'z');
  EXPECT_EQ(s.GetChunk(2, &n), nullptr);
  EXPECT_EQ(MemBytes(s), k + "z");
  EXPECT_EQ(s.GetSize(), 1025);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.ChunkCount(), 0);
  s.Write("again", 5);
  EXPECT_EQ(MemBytes(s), "again");
}

TEST(PdfMemStreamTest, WritesSplitAcrossChunksInPieces) {
  // Odd pieces straddle chunk ends; the bytes and sizes must stay exact.
  PdfMemStream s(100);
  std::string expected;
  std::string all = NoisyBytes(1000, 7);
  size_t pos = 0;
  for (int piece : {1, 99, 1, 150, 49, 200, 300, 0, 100}) {
    s.Write(all.data() + pos, piece);
    expected.append(all, pos, piece);
    pos += piece;
    EXPECT_EQ(s.Size(), static_cast<int>(expected.size()));
    EXPECT_EQ(s.ChunkCount(), (s.Size() + 99) / 100);
  }
  EXPECT_EQ(MemBytes(s), expected);
}

TEST(PdfMemStreamTest, CopyAndPlainTransfer) {
  for (int size : {0, 1, 1023, 1024, 1025, 3000}) {
    PdfMemStream s;
    std::string data = NoisyBytes(size, size);
    s.Write(data.data(), size);
    std::unique_ptr<PdfMemStream> copy(s.Copy());
    EXPECT_EQ(copy->ChunkSize(), 1024);
    EXPECT_EQ(copy->Size(), size);
    EXPECT_EQ(MemBytes(*copy), data);
    StringOut out;
    EXPECT_EQ(s.WriteTo(&out, nullptr), size);
    EXPECT_EQ(out.data, data);
    // Writing twice gives the same bytes again.
    StringOut again;
    s.WriteTo(&again, nullptr);
    EXPECT_EQ(again.data, data);
  }
}

TEST(PdfMemStreamTest, FlateTransferRoundTripsForAllSizes) {
  const std::string noisy = NoisyBytes(5000, 99);
  std::string text;
  while (text.size() < 5000) text += "0 0 1 rg 10 10 100 100 re f\n";
  for (int size = 0; size <= 5000; ++size) {
    for (const std::string* source : {&noisy, static_cast<const std::string*>(&text)}) {
      PdfMemStream s;
      s.Write(source->data(), size);
      StringOut out;
      int written = s.DeflateTo(&out, nullptr);
      ASSERT_EQ(written, static_cast<int>(out.data.size())) << "size " << size;
      ASSERT_EQ(Inflate(out.data), source->substr(0, size)) << "size " << size;
    }
  }
}

TEST(PdfMemStreamTest, FlateTransferWithSmallChunks) {
  // Small chunks force many output hand-overs and input steps.
  std::string data = NoisyBytes(777, 3) + std::string(500, 'a');
  for (int chunk : {1, 7, 64}) {
    PdfMemStream s(chunk);
    s.Write(data.data(), static_cast<int>(data.size()));
    StringOut out;
    int written = s.DeflateTo(&out, nullptr);
    EXPECT_EQ(written, static_cast<int>(out.data.size()));
    EXPECT_EQ(Inflate(out.data), data) << "chunk " << chunk;
  }
}

TEST(PdfMemStreamTest, FlateTransferToNoStreamThrows) {
  PdfMemStream s;
  s.Write("abc", 3);
  auto c = CatchPdf([&] { s.DeflateTo(nullptr, nullptr); });
  EXPECT_EQ(c.code, -9);
  EXPECT_EQ(c.message, "ERROR: write to stream. Output stream is NULL.");
}

}  // namespace
