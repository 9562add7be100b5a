// Document information and its date texts; outlines and destinations.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_xref.h"
#include "tests/pdf/core_test_util.h"

using coretest::CatchPdf;
using coretest::Written;

namespace {

TEST(PdfInfoTest, TextsAndDefaultProducer) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfInfo* info = doc.GetInfo();
  EXPECT_EQ(info->GetObjectId(), 3);
  EXPECT_STREQ(info->GetTextValue("Producer"), "Plotvane PDF Library Version 1.00");
  info->SetTitle("");
  info->SetAuthor("first");
  info->SetCreator("c");
  info->SetSubject("s(1)");
  info->SetKeywords("k");
  info->SetAuthor("second");  // replaces, moving to the end
  EXPECT_EQ(Written(info),
            "<<\r\n/Producer (Plotvane\\040PDF\\040Library\\040Version\\0401.00)\r\n/Title ()\r\n/Creator (c)\r\n"
            "/Subject (s\\0501\\051)\r\n/Keywords (k)\r\n/Author (second)\r\n>>");
  info->SetProducer("mine");
  EXPECT_STREQ(info->GetTextValue("Producer"), "mine");
}

TEST(PdfInfoTest, CreationDateIsALiteral) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfInfo* info = doc.GetInfo();
  info->SetCreationDate(2005, 9, 14, 10, 5, 0, '+', 2, 0);
  EXPECT_EQ(Written(info->GetValue("CreationDate")), "(D:20050914100500+02'00')");
  PdfDate d = info->GetCreationDate();
  EXPECT_EQ(d.year, 2005);
  EXPECT_EQ(d.month, 9);
  EXPECT_EQ(d.day, 14);
  EXPECT_EQ(d.hour, 10);
  EXPECT_EQ(d.minutes, 5);
  EXPECT_EQ(d.seconds, 0);
  EXPECT_EQ(d.ind, '+');
  EXPECT_EQ(d.offHour, 2);
  EXPECT_EQ(d.offMinutes, 0);

  info->SetModDate(2020, 12, 31, 23, 59, 59, 'z', 0, 0);
  EXPECT_EQ(Written(info->GetValue("ModDate")), "(D:20201231235959z00'00')");
  EXPECT_EQ(info->GetModDate().ind, 'z');
}

TEST(PdfInfoTest, UnwritableDateThrowsAndKeepsTheOldValue) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfInfo* info = doc.GetInfo();
  info->SetCreationDate(2005, 9, 14, 10, 5, 0, '+', 2, 0);
  auto c = CatchPdf([&] { info->SetCreationDate(12345, 9, 14, 10, 5, 0, '+', 2, 0); });
  EXPECT_EQ(c.code, -9);
  EXPECT_EQ(c.message, "error: PdfInfo::PdfDateToStr --invalid date[D:123450914100500+02'00':24].");
  EXPECT_STREQ(info->GetTextValue("CreationDate"), "D:20050914100500+02'00'");
  // Negative fields are refused, also those whose "-N" keeps the length.
  for (int field = 0; field < 18; ++field) {
    if (field % 9 == 6) continue;  // the indicator is a character
    int f[9] = {2005, 9, 14, 10, 5, 0, '+', 2, 0};
    f[field % 9] = field < 9 ? -1 : -10;
    EXPECT_EQ(CatchPdf([&] { info->SetModDate(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]); }).code, -9)
        << "field " << field;
  }
  EXPECT_EQ(info->GetValue("ModDate"), nullptr);
  // Absent or not text: the default record.
  PdfDate d = info->GetModDate();
  EXPECT_EQ(d.year, 0);
  EXPECT_EQ(d.month, 1);
  EXPECT_EQ(d.day, 1);
  EXPECT_EQ(d.ind, '-');
  info->AddElement("ModDate", new PdfNumber(5));
  EXPECT_EQ(info->GetModDate().month, 1);
}

TEST(PdfInfoTest, WriterAcceptsWhatTheReaderRefuses) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfInfo* info = doc.GetInfo();
  info->SetCreationDate(2005, 13, 40, 10, 5, 0, '+', 2, 0);
  EXPECT_STREQ(info->GetTextValue("CreationDate"), "D:20051340100500+02'00'");
  auto c = CatchPdf([&] { info->GetCreationDate(); });
  EXPECT_EQ(c.code, -9);
  EXPECT_EQ(c.message, "error: PdfInfo::StrToPdfDate --invalid value[D:20051340100500+02'00']");
}

TEST(PdfDateTest, DateToStr) {
  char buf[24];
  std::memset(buf, 'x', sizeof buf);
  PdfDate date;
  PdfDateToStr(date, buf);
  EXPECT_STREQ(buf, "D:00000101000000-00'00'");
  date.year = 99999;
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(CatchPdf([&] { PdfDateToStr(date, buf); }).code, -9);
  EXPECT_EQ(std::string(buf, 24), std::string("D:999990101000000-00'00") + '\0');
}

TEST(PdfDateTest, StrToPdfDateChecks) {
  const struct {
    const char* text;
    int year, month, day, hour, minutes, seconds, ind, offHour, offMinutes;
  } good[] = {
      {"D:20050914100500", 2005, 9, 14, 10, 5, 0, '-', 0, 0},
      {"D:20050914100500+02'00'", 2005, 9, 14, 10, 5, 0, '+', 2, 0},
      {"D:20050914100500-11'30'", 2005, 9, 14, 10, 5, 0, '-', 11, 30},
      {"D:20050914100500z00'00'", 2005, 9, 14, 10, 5, 0, 'z', 0, 0},
      {"D:20050914100500z", 2005, 9, 14, 10, 5, 0, 'z', 0, 0},
      {"D:00001231235959+23'59'", 0, 12, 31, 23, 59, 59, '+', 23, 59},
  };
  for (const auto& g : good) {
    PdfDate d = StrToPdfDate(g.text);
    EXPECT_EQ(d.year, g.year) << g.text;
    EXPECT_EQ(d.month, g.month) << g.text;
    EXPECT_EQ(d.day, g.day) << g.text;
    EXPECT_EQ(d.hour, g.hour) << g.text;
    EXPECT_EQ(d.minutes, g.minutes) << g.text;
    EXPECT_EQ(d.seconds, g.seconds) << g.text;
    EXPECT_EQ(d.ind, g.ind) << g.text;
    EXPECT_EQ(d.offHour, g.offHour) << g.text;
    EXPECT_EQ(d.offMinutes, g.offMinutes) << g.text;
  }
  const char* bad[] = {
      "",
      "D:2005091410050",            // 15 characters
      "D:200509141005xx",           // seconds not read
      "20050914100500+02'00'",      // no D:
      "D:20050014100500",           // month 0
      "D:20051314100500",           // month 13
      "D:20050900100500",           // day 0
      "D:20050932100500",           // day 32
      "D:20050914240500",           // hour 24
      "D:20050914106000",           // minutes 60
      "D:20050914100560",           // seconds 60
      "D:20050914100500Z00'00'",    // upper-case Z
      "D:20050914100500 02'00'",    // space as indicator
      "D:20050914100500+24'00'",    // zone hours 24
      "D:20050914100500+02'60'",    // zone minutes 60
  };
  for (const char* b : bad) {
    auto c = CatchPdf([&] { StrToPdfDate(b); });
    EXPECT_EQ(c.code, -9) << b;
    EXPECT_EQ(c.message, std::string("error: PdfInfo::StrToPdfDate --invalid value[") + b + "]");
  }
  EXPECT_EQ(CatchPdf([&] { StrToPdfDate(nullptr); }).code, -9);
}

class OutlineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.CreateDocument();
    page = doc.AddPage();  // 4
    root = doc.GetCatalog()->GetOutlines();  // 5
  }
  PdfDoc doc;
  PdfPage* page = nullptr;
  PdfOutlineRoot* root = nullptr;
};

TEST_F(OutlineTest, OneClosedItemWithoutChildren) {
  PdfOutlineItem* item = new PdfOutlineItem(root);  // 6
  item->SetTitle("Chart");
  EXPECT_TRUE(root->GetOpened());
  EXPECT_FALSE(item->GetOpened());
  EXPECT_EQ(Written(root), "<<\r\n/Type /Outline\r\n/First 6 0 R\r\n/Last 6 0 R\r\n/Count 1\r\n>>");
  EXPECT_EQ(Written(item), "<<\r\n/Type /Outline\r\n/Parent 5 0 R\r\n/Title (Chart)\r\n>>");
  EXPECT_EQ(root->GetFirst(), item);
  EXPECT_EQ(root->GetLast(), item);
  EXPECT_EQ(item->GetNext(), nullptr);
}

TEST_F(OutlineTest, CountsOfOpenedAndClosedItems) {
  PdfOutlineItem* a = new PdfOutlineItem(root);  // 6
  a->SetOpened(true);
  PdfOutlineItem* a1 = new PdfOutlineItem(a);     // 7
  PdfOutlineItem* a2 = new PdfOutlineItem(a);     // 8
  PdfOutlineItem* b = new PdfOutlineItem(root);   // 9
  PdfOutlineItem* b1 = new PdfOutlineItem(b);     // 10
  b1->SetOpened(true);  // opened but without children: no Count
  EXPECT_EQ(root->GetCountVisible(), 4);
  EXPECT_EQ(Written(root), "<<\r\n/Type /Outline\r\n/First 6 0 R\r\n/Last 9 0 R\r\n/Count 4\r\n>>");
  EXPECT_EQ(Written(a),
            "<<\r\n/Type /Outline\r\n/Parent 5 0 R\r\n/First 7 0 R\r\n/Last 8 0 R\r\n/Next 9 0 R\r\n/Count 2\r\n>>");
  EXPECT_EQ(Written(b), "<<\r\n/Type /Outline\r\n/Prev 6 0 R\r\n/Parent 5 0 R\r\n/First 10 0 R\r\n/Last 10 0 R\r\n"
                        "/Count -1\r\n>>");
  EXPECT_EQ(Written(a1), "<<\r\n/Type /Outline\r\n/Parent 6 0 R\r\n/Next 8 0 R\r\n>>");
  EXPECT_EQ(Written(a2), "<<\r\n/Type /Outline\r\n/Prev 7 0 R\r\n/Parent 6 0 R\r\n>>");
  EXPECT_EQ(Written(b1), "<<\r\n/Type /Outline\r\n/Parent 9 0 R\r\n>>");
  // Closing A hides its children; its own Count turns negative.
  a->SetOpened(false);
  EXPECT_EQ(root->GetCountVisible(), 2);
  EXPECT_NE(Written(a).find("/Count -2\r\n"), std::string::npos);
  EXPECT_EQ(a->GetFirst(), a1);
  EXPECT_EQ(a1->GetNext(), a2);
}

TEST_F(OutlineTest, DestinationArraysForEveryFitType) {
  const struct {
    void (*set)(PdfDestination*);
    const char* written;
    int type;
  } cases[] = {
      {[](PdfDestination* d) { d->SetXYZ(0, 842, 1); }, "[4 0 R /XYZ 0 842 1 ]", dtXYZ},
      {[](PdfDestination* d) { d->SetXYZ(10.5, 20, 12); }, "[4 0 R /XYZ 10.5 20 1 ]", dtXYZ},
      {[](PdfDestination* d) { d->SetXYZ(0, 0, -0.5); }, "[4 0 R /XYZ 0 0 1 ]", dtXYZ},
      {[](PdfDestination* d) { d->SetXYZ(0, 0, 0); }, "[4 0 R /XYZ 0 0 0 ]", dtXYZ},
      {[](PdfDestination* d) { d->SetXYZ(0, 0, 10); }, "[4 0 R /XYZ 0 0 10 ]", dtXYZ},
      {[](PdfDestination* d) { d->SetFit(); }, "[4 0 R /Fit ]", dtFit},
      {[](PdfDestination* d) { d->SetFitH(700); }, "[4 0 R /FitH 700 ]", dtFitH},
      {[](PdfDestination* d) { d->SetFitV(0.25); }, "[4 0 R /FitV 0.25 ]", dtFitV},
      {[](PdfDestination* d) { d->SetFitR(1, 2, 3, 4); }, "[4 0 R /FitR 1 2 3 4 ]", dtFitR},
      {[](PdfDestination* d) { d->SetFitB(); }, "[4 0 R /FitB ]", dtFitB},
      {[](PdfDestination* d) { d->SetFitBH(5); }, "[4 0 R /FitBH 5 ]", dtFitBH},
      {[](PdfDestination* d) { d->SetFitBV(6); }, "[4 0 R /FitBV 6 ]", dtFitBV},
  };
  PdfDestination dest(page, false);
  for (const auto& c : cases) {
    c.set(&dest);  // each call rebuilds the whole array
    EXPECT_EQ(Written(&dest), c.written);
    EXPECT_EQ(dest.GetFitType(), c.type) << c.written;
  }
  dest.SetFitR(1, 2, 3, 4);
  EXPECT_DOUBLE_EQ(dest.GetParam(0), 1.0);
  EXPECT_DOUBLE_EQ(dest.GetParam(3), 4.0);
  EXPECT_DOUBLE_EQ(dest.GetParam(4), 1.1754944e-38);
  EXPECT_FALSE(dest.IsIndirect());
  dest.Clear();
  dest.Add(new PdfName("Nope"));
  dest.Add(new PdfName("Nope"));
  EXPECT_EQ(dest.GetFitType(), dtUnknown);
}

TEST_F(OutlineTest, IndirectDestinationIsNumberedAtItsFirstSet) {
  PdfOutlineItem* item = new PdfOutlineItem(root);  // 6
  PdfDestination* dest = new PdfDestination(page, true);
  EXPECT_FALSE(dest->IsIndirect());
  dest->SetXYZ(0, 842, 1);
  EXPECT_EQ(dest->GetObjectId(), 7);
  dest->SetFit();
  EXPECT_EQ(dest->GetObjectId(), 7);
  item->SetDestination(dest);
  EXPECT_EQ(Written(item), "<<\r\n/Type /Outline\r\n/Parent 5 0 R\r\n/Dest 7 0 R\r\n>>");
  item->SetDestination(dest);  // again: nothing changes
  EXPECT_EQ(Written(item), "<<\r\n/Type /Outline\r\n/Parent 5 0 R\r\n/Dest 7 0 R\r\n>>");
  EXPECT_EQ(item->GetValue("Dest"), dest);
}

TEST_F(OutlineTest, InvalidDestinationKeepsThePreviousDest) {
  PdfOutlineItem* item = new PdfOutlineItem(root);
  PdfDestination* good = new PdfDestination(page, false);
  item->SetDestination(good);  // an empty destination becomes Fit
  EXPECT_EQ(Written(item->GetValue("Dest")), "[4 0 R /Fit ]");
  PdfDestination nowhere(nullptr, false);
  EXPECT_FALSE(nowhere.IsValid());
  auto c = CatchPdf([&] { item->SetDestination(&nowhere); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: PdfOutlineItem::SetDestination --Invalid destination.");
  EXPECT_EQ(item->GetValue("Dest"), good);
  item->SetDestination(nullptr);
  EXPECT_EQ(item->GetValue("Dest"), nullptr);
}

TEST_F(OutlineTest, DestinationWithoutPageIsHarmless) {
  // No page means no object table to number it in; it stays direct.
  PdfDestination nowhere(nullptr, true);
  nowhere.SetXYZ(0, 842, 1);
  EXPECT_FALSE(nowhere.IsIndirect());
  EXPECT_FALSE(nowhere.IsValid());
  EXPECT_EQ(Written(&nowhere), "[/XYZ 0 842 1 ]");
}

TEST_F(OutlineTest, TitleMbNeedsACharacterMap) {
  PdfOutlineItem* item = new PdfOutlineItem(root);
  auto c = CatchPdf([&] { item->SetTitleMb("x", nullptr); });
  EXPECT_EQ(c.code, -9);
  EXPECT_EQ(c.message, "ERROR: PdfOutlineItem::SetTitleMb --cmap object is null.");
  EXPECT_EQ(item->GetValue("Title"), nullptr);
}

}  // namespace
