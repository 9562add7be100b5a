// The object kinds: their exact written bytes, container limits and
// ownership, the object table, and stream objects with Length and Filter.
#include <gtest/gtest.h>
#include <zlib.h>

#include <climits>
#include <cstring>
#include <string>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xref.h"
#include "tests/pdf/core_test_util.h"

using coretest::CatchPdf;
using coretest::StringOut;
using coretest::Written;

namespace {

TEST(PdfObjectWriteTest, Scalars) {
  PdfNumber zero(0), minus(-1), big(INT_MAX), least(INT_MIN);
  PdfBoolean yes(true), no(false);
  PdfReal half(0.5), whole(842.0);
  EXPECT_EQ(Written(&zero), "0");
  EXPECT_EQ(Written(&minus), "-1");
  EXPECT_EQ(Written(&big), "2147483647");
  EXPECT_EQ(Written(&least), "-2147483648");
  EXPECT_EQ(Written(&yes), "true");
  EXPECT_EQ(Written(&no), "false");
  EXPECT_EQ(Written(&half), "0.5");
  EXPECT_EQ(Written(&whole), "842");
  PdfReal tooBig(40000.0);
  EXPECT_EQ(CatchPdf([&] { Written(&tooBig); }).code, -4);
}

TEST(PdfObjectWriteTest, TypeCodesAndClasses) {
  PdfXref xref(nullptr);
  PdfNumber n(1);
  PdfReal r(1);
  PdfBoolean b(true);
  PdfName name("N");
  PdfText text("t");
  PdfBinary bin("", 0, false);
  PdfArray array(&xref);
  PdfDictionary dict(&xref);
  PdfStream stream(&xref);
  PdfReference ref(&n);
  const struct {
    PdfObject* object;
    int type;
  } cases[] = {{&ref, 0},  {&b, 1},     {&n, 2},    {&r, 3},      {&text, 4},
               {&bin, 5},  {&name, 6},  {&array, 7}, {&dict, 8},   {&stream, 9}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.object->GetType(), c.type);
    EXPECT_EQ(c.object->GetObjectClass(), c.type == 0 ? ocReference : ocDirect);
    EXPECT_EQ(c.object->IsOwned(), c.type == 0);
  }
}

TEST(PdfObjectWriteTest, Names) {
  const struct {
    std::string name;
    std::string written;
  } cases[] = {
      {"A B", "/A#20B"},
      {"#", "/#23"},
      {"Type", "/Type"},
      {"\\%#/()<>[]{}", "/#5C#25#23#2F#28#29#3C#3E#5B#5D#7B#7D"},
      {"!~", "/!~"},
      {"\x7F\x80\xFF\x1F", "/#7F#80#FF#1F"},
      {"a.b-c_d", "/a.b-c_d"},
      {"", "/"},
      {std::string(200, 'n'), "/" + std::string(127, 'n')},
  };
  for (const auto& c : cases) {
    PdfName name(c.name.c_str());
    EXPECT_EQ(Written(&name), c.written) << c.name;
  }
  // The longest escaped name still fits its buffer: 127 escapes of three bytes.
  PdfName hashes(std::string(130, '#').c_str());
  std::string expected = "/";
  for (int i = 0; i < 127; ++i) expected += "#23";
  EXPECT_EQ(Written(&hashes), expected);
  EXPECT_EQ(std::strlen(hashes.GetValue()), 127u);
}

TEST(PdfObjectWriteTest, Texts) {
  const struct {
    const char* text;
    std::string written;
  } cases[] = {
      {"a(b)", "(a\\050b\\051)"},
      {"x y", "(x\\040y)"},
      {"", "()"},
      {nullptr, "()"},
      {"D:20050914100500+02'00'", "(D:20050914100500+02'00')"},
      {"\\", "(\\134)"},
      {"\xAB\x01\n\x7F", "(\\253\\001\\012\\177)"},
      {"50%", "(50\\045)"},
      {"[a]/<b>{c}#", "(\\133a\\135\\057\\074b\\076\\173c\\175\\043)"},
  };
  for (const auto& c : cases) {
    PdfText text(c.text);
    EXPECT_EQ(Written(&text), c.written) << (c.text ? c.text : "(none)");
  }
  PdfText empty("");
  EXPECT_EQ(empty.GetValue(), nullptr);
}

TEST(PdfObjectWriteTest, LongTextsAreWrittenInPieces) {
  std::string plain(300, 'p');
  PdfText text(plain.c_str());
  StringOut out;
  text.WriteValueToStream(&out, nullptr);
  EXPECT_EQ(out.data, "(" + plain + ")");
  EXPECT_EQ(out.writes, 2);

  // Escapes that straddle the flush point are kept whole.
  for (int n : {62, 63, 64, 65, 200}) {
    std::string spaces(n, ' ');
    std::string expected = "(";
    for (int i = 0; i < n; ++i) expected += "\\040";
    expected += ")";
    PdfText escaped(("a" + spaces).c_str());
    EXPECT_EQ(Written(&escaped), "(a" + expected.substr(1)) << n;
  }

  std::string huge(70000, 'h');
  PdfText cut(huge.c_str());
  EXPECT_EQ(std::strlen(cut.GetValue()), 65535u);
  EXPECT_EQ(Written(&cut), "(" + std::string(65535, 'h') + ")");
}

TEST(PdfObjectWriteTest, Binaries) {
  const unsigned char bytes[] = {0x00, 0xAB};
  PdfBinary two(bytes, 2, true);
  EXPECT_EQ(Written(&two), "<00AB>");
  PdfBinary none(bytes, 0, false);
  EXPECT_EQ(Written(&none), "<>");
  unsigned char many[300];
  std::string expected = "<";
  for (int i = 0; i < 300; ++i) {
    many[i] = static_cast<unsigned char>(i * 7);
    char hex[3];
    snprintf(hex, sizeof hex, "%02X", many[i]);
    expected += hex;
  }
  expected += ">";
  PdfBinary long_(many, 300, false);
  EXPECT_EQ(Written(&long_), expected);
}

TEST(PdfObjectWriteTest, ArraysAndReferences) {
  PdfXref xref(nullptr);
  PdfArray empty(&xref);
  EXPECT_EQ(Written(&empty), "[]");

  PdfArray pair(&xref);
  pair.Add(new PdfNumber(1));
  pair.Add(new PdfNumber(2));
  EXPECT_EQ(Written(&pair), "[1 2 ]");

  PdfNumber* target = new PdfNumber(9);
  EXPECT_EQ(xref.AddObject(new PdfNumber(0)), 1);
  EXPECT_EQ(xref.AddObject(target), 2);
  PdfReference ref(target);
  EXPECT_EQ(Written(&ref), "2 0 R");

  PdfArray mixed(&xref);
  mixed.Add(new PdfName("XYZ"));
  mixed.Add(target);
  mixed.Add(new PdfReal(0.5));
  mixed.Add(nullptr);  // ignored
  PdfArray* inner = new PdfArray(&xref);
  mixed.Add(inner);
  inner->AddNumbers(0, 0, 596, 842);
  PdfDictionary* dict = new PdfDictionary(&xref);
  mixed.Add(dict);
  mixed.Insert(new PdfText("first"), 0);
  EXPECT_EQ(Written(&mixed), "[(first) /XYZ 2 0 R 0.5 [0 0 596 842 ] <<\r\n>> ]");
  EXPECT_EQ(mixed.GetCount(), 6);
  EXPECT_EQ(mixed.GetItem(2), target);
  EXPECT_EQ(mixed.GetItem(6), nullptr);
  int value = 0;
  EXPECT_TRUE(mixed.GetItemAsInteger(2, &value));
  EXPECT_EQ(value, 9);
  EXPECT_FALSE(mixed.GetItemAsInteger(1, &value));
  EXPECT_DOUBLE_EQ(mixed.GetItemAsReal(3), 0.5);
  EXPECT_DOUBLE_EQ(mixed.GetItemAsReal(2), 9.0);
  EXPECT_DOUBLE_EQ(mixed.GetItemAsReal(1), 0.0);

  PdfArray reals(&xref);
  reals.AddReals(0.25, -1, 2.5, 3);
  EXPECT_EQ(Written(&reals), "[0.25 -1 2.5 3 ]");
  reals.Clear();
  EXPECT_EQ(Written(&reals), "[]");
  EXPECT_EQ(reals.GetCount(), 0);
}

TEST(PdfObjectWriteTest, ReferenceToMissingTargetResolvesToNone) {
  PdfXref xref(nullptr);
  PdfNumber* n = new PdfNumber(1);
  xref.AddObject(n);
  PdfArray array(&xref);
  array.Add(n);
  PdfDictionary dict(&xref);
  dict.AddElement("N", n);
  xref.Clear();  // n is gone; only the references remain
  EXPECT_EQ(array.GetItem(0), nullptr);
  EXPECT_EQ(dict.GetValue("N"), nullptr);
  EXPECT_NE(dict.GetRawValue("N"), nullptr);
}

TEST(PdfObjectWriteTest, Dictionaries) {
  PdfXref xref(nullptr);
  PdfDictionary empty(&xref);
  EXPECT_EQ(Written(&empty), "<<\r\n>>");

  PdfDictionary* parent = new PdfDictionary(&xref);
  xref.AddObject(new PdfNumber(0));
  xref.AddObject(parent);
  PdfDictionary page(&xref);
  page.AddElement("Type", new PdfName("Page"));
  page.AddElement("Parent", parent);
  EXPECT_EQ(Written(&page), "<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n>>");
  EXPECT_EQ(page.GetValue("Parent"), parent);
  EXPECT_EQ(page.GetRawValue("Parent")->GetType(), otReference);
  EXPECT_TRUE(page.CheckTypeName("Page"));
  EXPECT_FALSE(page.CheckTypeName("page"));
  EXPECT_STREQ(page.GetNameValue("Type"), "Page");
  EXPECT_EQ(page.GetNameValue("Parent"), nullptr);
  EXPECT_EQ(page.GetValue("type"), nullptr);

  PdfDictionary nested(&xref);
  PdfDictionary* inner = new PdfDictionary(&xref);
  nested.AddElement("A", inner);
  inner->AddElement("B", new PdfBoolean(true));
  nested.AddElement("A B", new PdfText("t"));
  EXPECT_EQ(Written(&nested), "<<\r\n/A <<\r\n/B true\r\n>>\r\n/A#20B (t)\r\n>>");
  EXPECT_STREQ(nested.GetTextValue("A B"), "t");
  EXPECT_EQ(nested.GetTextValue("A"), nullptr);
}

TEST(PdfObjectWriteTest, ReplacingAKeyMovesItToTheEnd) {
  PdfXref xref(nullptr);
  PdfDictionary dict(&xref);
  dict.AddElement("A", new PdfNumber(1));
  dict.AddElement("B", new PdfNumber(2));
  dict.AddElement("A", new PdfNumber(3));
  EXPECT_EQ(dict.GetCount(), 2);
  EXPECT_EQ(Written(&dict), "<<\r\n/B 2\r\n/A 3\r\n>>");
  dict.RemoveElement("B");
  dict.RemoveElement("absent");
  EXPECT_EQ(Written(&dict), "<<\r\n/A 3\r\n>>");
  dict.RemoveElementAt(5);
  dict.RemoveElementAt(0);
  EXPECT_EQ(dict.GetCount(), 0);
}

TEST(PdfObjectWriteTest, OverlongKeyIsFoundUnderItsCutName) {
  PdfXref xref(nullptr);
  PdfDictionary dict(&xref);
  const std::string key(200, 'k');
  dict.AddElement(key.c_str(), new PdfNumber(1));
  dict.AddElement(key.c_str(), new PdfNumber(2));  // the same key: replaced, not doubled
  EXPECT_EQ(dict.GetCount(), 1);
  ASSERT_NE(dict.GetValue(key.c_str()), nullptr);
  EXPECT_EQ(Written(&dict), "<<\r\n/" + std::string(127, 'k') + " 2\r\n>>");
  EXPECT_NE(dict.GetValue(std::string(127, 'k').c_str()), nullptr);
  EXPECT_EQ(dict.GetValue(std::string(126, 'k').c_str()), nullptr);
  dict.RemoveElement(key.c_str());
  EXPECT_EQ(dict.GetCount(), 0);
}

TEST(PdfObjectWriteTest, ReAddingTheSameDirectValueUnderItsKeyIsHarmless) {
  PdfXref xref(nullptr);
  PdfDictionary dict(&xref);
  PdfArray* box = new PdfArray(&xref);
  dict.AddElement("Box", box);
  dict.AddElement("Other", new PdfNumber(1));
  box->AddNumbers(1, 2, 3, 4);
  dict.AddElement("Box", box);
  EXPECT_EQ(dict.GetValue("Box"), box);
  EXPECT_EQ(Written(&dict), "<<\r\n/Box [1 2 3 4 ]\r\n/Other 1\r\n>>");
}

TEST(PdfObjectWriteTest, SettingAValueFromItself) {
  PdfText text("keep me");
  text.SetValue(text.GetValue());
  EXPECT_STREQ(text.GetValue(), "keep me");
  text.SetValue(text.GetValue() + 5);  // a tail of its own text
  EXPECT_STREQ(text.GetValue(), "me");
  PdfName name("Keep");
  name.SetValue(name.GetValue());
  EXPECT_STREQ(name.GetValue(), "Keep");
  name.SetValue(name.GetValue() + 2);
  EXPECT_STREQ(name.GetValue(), "ep");
}

TEST(PdfObjectLimitTest, ArrayRefusesThe8192ndItem) {
  PdfXref xref(nullptr);
  PdfArray array(&xref);
  for (int i = 0; i < 8191; ++i) array.Add(new PdfNumber(i));
  EXPECT_EQ(array.GetCount(), 8191);
  auto c = CatchPdf([&] { array.Add(new PdfNumber(-1)); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: PdfArray::Add --number of items is over [8191].\n");
  EXPECT_EQ(CatchPdf([&] { array.Insert(new PdfNumber(-1), 0); }).code, -5);

  // An indirect object offered to a full array stays in the table.
  PdfNumber* indirect = new PdfNumber(5);
  xref.AddObject(indirect);
  EXPECT_EQ(CatchPdf([&] { array.Add(indirect); }).code, -5);
  EXPECT_EQ(xref.GetObject(1), indirect);
  EXPECT_EQ(indirect->GetValue(), 5);

  // A direct object that another container owns is refused but not deleted.
  PdfDictionary holder(&xref);
  PdfNumber* held = new PdfNumber(77);
  holder.AddElement("H", held);
  EXPECT_EQ(CatchPdf([&] { array.Add(held); }).code, -5);
  EXPECT_EQ(Written(&holder), "<<\r\n/H 77\r\n>>");

  EXPECT_EQ(array.GetCount(), 8191);
  int last = 0;
  ASSERT_TRUE(array.GetItemAsInteger(8190, &last));
  EXPECT_EQ(last, 8190);
}

TEST(PdfObjectLimitTest, ArrayInsertIndexOutsideTheItems) {
  PdfXref xref(nullptr);
  PdfArray array(&xref);
  array.Add(new PdfNumber(1));
  for (int bad : {-1, 2, 100}) {
    auto c = CatchPdf([&] { array.Insert(new PdfNumber(9), bad); });
    EXPECT_EQ(c.code, -5) << bad;
    EXPECT_EQ(c.message, "ERROR: PdfArray::Add --number of items is over [8191].\n");
  }
  array.Insert(new PdfNumber(2), 1);
  array.Insert(new PdfNumber(0), 0);
  EXPECT_EQ(Written(&array), "[0 1 2 ]");
}

TEST(PdfObjectLimitTest, DictionaryRefusesThe4096thElement) {
  PdfXref xref(nullptr);
  PdfDictionary dict(&xref);
  char key[16];
  for (int i = 0; i < 4095; ++i) {
    snprintf(key, sizeof key, "K%d", i);
    dict.AddElement(key, new PdfNumber(i));
  }
  EXPECT_EQ(dict.GetCount(), 4095);
  auto c = CatchPdf([&] { dict.AddElement("New", new PdfNumber(1)); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: PdfDictionary::AddElement --number of items is over [4095].\n");
  // A full dictionary refuses an existing key too, and keeps the old value.
  EXPECT_EQ(CatchPdf([&] { dict.AddElement("K0", new PdfNumber(-7)); }).code, -5);
  EXPECT_EQ(dict.GetCount(), 4095);
  EXPECT_STREQ(dict.GetKeyAt(0), "K0");
  EXPECT_EQ(static_cast<PdfNumber*>(dict.GetValue("K0"))->GetValue(), 0);
  EXPECT_STREQ(dict.GetKeyAt(4094), "K4094");
  EXPECT_EQ(dict.GetValue("New"), nullptr);

  // Neither the value already stored nor one owned elsewhere is deleted.
  PdfObject* stored = dict.GetValue("K5");
  dict.AddElement("K5", stored);
  EXPECT_EQ(dict.GetValue("K5"), stored);
  PdfDictionary holder(&xref);
  PdfNumber* held = new PdfNumber(77);
  holder.AddElement("H", held);
  EXPECT_EQ(CatchPdf([&] { dict.AddElement("H", held); }).code, -5);
  EXPECT_EQ(Written(&holder), "<<\r\n/H 77\r\n>>");
}

TEST(PdfObjectOwnershipTest, ValueOwnedByTheElementItReplaces) {
  PdfXref xref(nullptr);
  PdfDictionary dict(&xref);
  PdfArray* array = new PdfArray(&xref);
  dict.AddElement("A", array);
  PdfNumber* inner = new PdfNumber(1);
  array->Add(inner);
  // inner is owned, so it is refused; the old element is dropped first.
  EXPECT_EQ(CatchPdf([&] { dict.AddElement("A", inner); }).code, -5);
  EXPECT_EQ(dict.GetCount(), 0);
}

TEST(PdfObjectOwnershipTest, DirectObjectBelongsToOneDictionary) {
  PdfXref xref(nullptr);
  PdfDictionary* second = new PdfDictionary(&xref);
  xref.AddObject(second);
  PdfDictionary first(&xref);
  PdfNumber* value = new PdfNumber(3);
  EXPECT_EQ(value->GetObjectId(), 0);
  first.AddElement("V", value);
  EXPECT_EQ(value->GetObjectId(), -1);
  EXPECT_TRUE(value->IsOwned());
  auto c = CatchPdf([&] { second->AddElement("V", value); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "this object(id=1) is owned by another object.");
  EXPECT_EQ(second->GetCount(), 0);
  EXPECT_EQ(first.GetValue("V"), value);

  // An element with the same key was dropped before the value was refused.
  second->AddElement("V", new PdfNumber(8));
  EXPECT_EQ(CatchPdf([&] { second->AddElement("V", value); }).code, -5);
  EXPECT_EQ(second->GetCount(), 0);
  EXPECT_EQ(Written(&first), "<<\r\n/V 3\r\n>>");
}

TEST(PdfObjectOwnershipTest, IndirectObjectInManyContainers) {
  PdfXref xref(nullptr);
  PdfDictionary* shared = new PdfDictionary(&xref);
  shared->AddElement("Type", new PdfName("Font"));
  EXPECT_EQ(xref.AddObject(shared), 1);
  PdfDictionary a(&xref), b(&xref);
  PdfArray c(&xref);
  a.AddElement("F1", shared);
  b.AddElement("F1", shared);
  b.AddElement("F2", shared);
  c.Add(shared);
  c.Add(shared);
  EXPECT_EQ(Written(&a), "<<\r\n/F1 1 0 R\r\n>>");
  EXPECT_EQ(Written(&b), "<<\r\n/F1 1 0 R\r\n/F2 1 0 R\r\n>>");
  EXPECT_EQ(Written(&c), "[1 0 R 1 0 R ]");
  EXPECT_EQ(shared->GetObjectId(), 1);
  EXPECT_EQ(b.GetValue("F2"), shared);
}

TEST(PdfXrefTest, NumbersAndEntries) {
  PdfXref xref(nullptr);
  EXPECT_EQ(xref.GetCount(), 0);
  xref.Init();
  EXPECT_EQ(xref.GetCount(), 1);
  PdfXrefEntry* head = xref.GetEntry(0);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->type, 'f');
  EXPECT_EQ(head->generation, 65535);
  EXPECT_EQ(head->object, nullptr);
  PdfNumber* one = new PdfNumber(1);
  PdfName* two = new PdfName("Two");
  EXPECT_EQ(xref.AddObject(one), 1);
  EXPECT_EQ(xref.AddObject(two), 2);
  EXPECT_EQ(one->GetObjectId(), 1);
  EXPECT_EQ(one->GetObjectClass(), ocIndirect);
  EXPECT_FALSE(one->IsOwned());
  EXPECT_EQ(xref.GetObject(2), two);
  EXPECT_EQ(xref.GetObject(0), nullptr);
  EXPECT_EQ(xref.GetObject(3), nullptr);
  EXPECT_EQ(xref.GetObject(-1), nullptr);
  EXPECT_EQ(xref.GetEntry(1)->type, 'n');
  EXPECT_EQ(xref.GetCount(), 3);
}

TEST(PdfXrefTest, WritesObjectsAndTwentyByteLines) {
  PdfXref xref(nullptr);
  xref.AddObject(new PdfNumber(42));
  PdfArray* array = new PdfArray(&xref);
  xref.AddObject(array);
  array->Add(xref.GetObject(1));
  StringOut out;
  out << "12345";  // the table takes offsets from the stream's count
  xref.WriteToStream(&out, nullptr);
  const std::string expected =
      "123451 0 obj\r\n42\r\nendobj\r\n"
      "2 0 obj\r\n[1 0 R ]\r\nendobj\r\n"
      "xref\r\n0 3\r\n"
      "0000000000 65535 f\r\n"
      "0000000005 00000 n\r\n"
      "0000000026 00000 n\r\n";
  EXPECT_EQ(out.data, expected);
  EXPECT_EQ(xref.GetXrefOffset(), static_cast<int>(expected.find("xref")));
  xref.Clear();
  EXPECT_EQ(xref.GetXrefOffset(), 0);
  EXPECT_EQ(xref.GetCount(), 0);
}

TEST(PdfXrefTest, DirectObjectIsNotWrittenAsIndirect) {
  PdfNumber n(5);
  StringOut out;
  n.WriteToStream(&out, nullptr);
  EXPECT_EQ(out.data, "");
}

std::string Inflate(const std::string& data) {
  z_stream z{};
  inflateInit(&z);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  std::string result(100000, '\0');
  z.next_out = reinterpret_cast<Bytef*>(&result[0]);
  z.avail_out = static_cast<uInt>(result.size());
  int rc = inflate(&z, Z_FINISH);
  EXPECT_EQ(rc, Z_STREAM_END);
  result.resize(result.size() - z.avail_out);
  inflateEnd(&z);
  return result;
}

TEST(PdfStreamObjectTest, EmptyStreamWritesItsDictionaryOnly) {
  PdfXref xref(nullptr);
  PdfStream* stream = new PdfStream(&xref);
  xref.AddObject(stream);
  stream->AddElement("Length", new PdfNumber(12));
  stream->AddElement("Filter", new PdfName("FlateDecode"));
  stream->AddElement("Type", new PdfName("XObject"));
  stream->SetFilter(PDF_FILTER_FLATE);
  EXPECT_EQ(Written(stream), "<<\r\n/Type /XObject\r\n>>");
  stream->GetStream();  // created, still empty
  EXPECT_EQ(Written(stream), "<<\r\n/Type /XObject\r\n>>");
  EXPECT_EQ(xref.GetCount(), 2);
}

TEST(PdfStreamObjectTest, PlainDataWithLengthObject) {
  PdfXref xref(nullptr);
  PdfStream* stream = new PdfStream(&xref);
  xref.AddObject(stream);
  stream->AddElement("Length", new PdfNumber(99));  // direct: replaced
  stream->AddElement("Type", new PdfName("Test"));
  stream->GetStream()->Write("hello", 5);
  StringOut out;
  xref.WriteToStream(&out, nullptr);
  EXPECT_EQ(out.data.substr(0, out.data.find("xref")),
            "1 0 obj\r\n<<\r\n/Type /Test\r\n/Length 2 0 R\r\n>>\r\nstream\r\nhelloendstream\r\nendobj\r\n"
            "2 0 obj\r\n5\r\nendobj\r\n");
  EXPECT_EQ(xref.GetCount(), 3);
}

TEST(PdfStreamObjectTest, FiltersAreAlwaysAnArray) {
  const struct {
    int flags;
    const char* filter;
  } cases[] = {{PDF_FILTER_FLATE, "[/FlateDecode ]"},
               {PDF_FILTER_DCT, "[/DCTDecode ]"},
               {PDF_FILTER_FLATE | PDF_FILTER_DCT | 1 | 4 | 16, "[/FlateDecode /DCTDecode ]"},
               {1 | 4 | 16, nullptr}};
  for (const auto& c : cases) {
    PdfXref xref(nullptr);
    PdfStream* stream = new PdfStream(&xref);
    xref.AddObject(stream);
    stream->SetFilter(c.flags);
    EXPECT_EQ(stream->GetFilter(), c.flags & (PDF_FILTER_FLATE | PDF_FILTER_DCT));
    const std::string data = "0 0 1 rg 10 10 100 100 re f\n";
    stream->GetStream()->Write(data.data(), static_cast<int>(data.size()));
    std::string written = Written(stream);
    std::string head = std::string("<<\r\n/Length 2 0 R\r\n") +
                       (c.filter ? std::string("/Filter ") + c.filter + "\r\n" : "") + ">>\r\nstream\r\n";
    ASSERT_EQ(written.substr(0, head.size()), head) << c.flags;
    ASSERT_EQ(written.substr(written.size() - 9), "endstream");
    std::string body = written.substr(head.size(), written.size() - head.size() - 9);
    PdfNumber* length = static_cast<PdfNumber*>(stream->GetValue("Length"));
    EXPECT_EQ(length->GetValue(), static_cast<int>(body.size()));
    EXPECT_EQ((c.flags & PDF_FILTER_FLATE) ? Inflate(body) : body, data);
  }
}

TEST(PdfStreamObjectTest, LengthIsReusedAndFilterRemovedWhenCleared) {
  PdfXref xref(nullptr);
  PdfStream* stream = new PdfStream(&xref);
  xref.AddObject(stream);
  stream->SetFilter(PDF_FILTER_FLATE);
  std::string data(3000, 'q');
  stream->GetStream()->Write(data.data(), 3000);
  Written(stream);
  PdfObject* length = stream->GetValue("Length");
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length->GetObjectId(), 2);
  stream->RemoveFilter(PDF_FILTER_FLATE);
  std::string second = Written(stream);
  EXPECT_EQ(stream->GetValue("Length"), length);
  EXPECT_EQ(xref.GetCount(), 3);
  EXPECT_EQ(second, "<<\r\n/Length 2 0 R\r\n>>\r\nstream\r\n" + data + "endstream");
  EXPECT_EQ(static_cast<PdfNumber*>(length)->GetValue(), 3000);
}

TEST(PdfStreamObjectTest, IndirectLengthNumberedBeforeTheStreamIsReplaced) {
  PdfXref xref(nullptr);
  PdfNumber* early = new PdfNumber(0);
  xref.AddObject(early);
  PdfStream* stream = new PdfStream(&xref);
  xref.AddObject(stream);
  stream->AddElement("Length", early);
  stream->GetStream()->Write("ab", 2);
  std::string written = Written(stream);
  EXPECT_EQ(written, "<<\r\n/Length 3 0 R\r\n>>\r\nstream\r\nabendstream");
  EXPECT_EQ(early->GetValue(), 0);
}

}  // namespace
