// The document: file layout of a save, page tree, catalog keys, and saving
// to a file through a temporary file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xobject.h"
#include "pdf/pdf_xref.h"
#include "tests/pdf/core_test_util.h"
#include "tests/support/test_support.h"

using coretest::CatchPdf;
using coretest::StringOut;
using coretest::Written;

namespace {

const std::string kHeader("%PDF-1.2\n%\xB7\xBE\xAD\xAA\r\n", 16);

std::string Save(PdfDoc& doc) {
  StringOut out;
  doc.WriteToStream(&out);
  EXPECT_EQ(out.GetSize(), static_cast<int>(out.data.size()));
  return out.data;
}

// The object's written form as the object table writes it: "N 0 obj" .. "endobj".
std::string ObjectText(const std::string& pdf, int id) {
  std::string head = "\r\n" + std::to_string(id) + " 0 obj\r\n";
  size_t at = pdf.find(head);
  if (at == std::string::npos) return "";
  size_t begin = at + head.size();
  size_t end = pdf.find("\r\nendobj\r\n", begin);
  return pdf.substr(begin, end - begin);
}

// Checks the cross-reference section against the bytes: startxref names the
// "xref" keyword, every line is 20 bytes, and each in-use offset points at
// the first digit of that object's "N 0 obj" line. Returns the entry count.
int CheckXref(const std::string& pdf) {
  size_t sx = pdf.rfind("\r\nstartxref\r\n");
  EXPECT_NE(sx, std::string::npos);
  if (sx == std::string::npos) return 0;
  long start = std::strtol(pdf.c_str() + sx + 13, nullptr, 10);
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n") << "file end";
  EXPECT_EQ(static_cast<size_t>(start), pdf.rfind("xref\r\n0 ")) << "startxref";
  EXPECT_EQ(pdf.compare(start, 8, "xref\r\n0 "), 0);
  char* after = nullptr;
  long count = std::strtol(pdf.c_str() + start + 8, &after, 10);
  EXPECT_EQ(std::string(after, 2), "\r\n");
  size_t lines = (after + 2) - pdf.c_str();
  EXPECT_EQ(pdf.substr(lines, 20), std::string("0000000000 65535 f\r\n"));
  for (long i = 1; i < count; ++i) {
    std::string line = pdf.substr(lines + 20 * i, 20);
    EXPECT_EQ(line.substr(10), " 00000 n\r\n") << "entry " << i;
    long offset = std::strtol(line.substr(0, 10).c_str(), nullptr, 10);
    std::string head = std::to_string(i) + " 0 obj\r\n";
    EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "entry " << i << " at " << offset;
  }
  EXPECT_EQ(pdf.compare(lines + 20 * count, 9, "trailer\r\n"), 0);
  return static_cast<int>(count);
}

// Gives the page something to render so the readers see ink.
PdfStream* AddVisibleContent(PdfDoc& doc, PdfPage* page) {
  PdfStream* content = new PdfStream(doc.GetXref());
  doc.GetXref()->AddObject(content);
  content->SetFilter(PDF_FILTER_FLATE);
  const char ops[] = "0 0 1 rg\n50 50 300 300 re\nf\n";
  content->GetStream()->Write(ops, static_cast<int>(sizeof ops - 1));
  page->AddElement("Contents", content);
  return content;
}

TEST(PdfDocLayoutTest, NewDocumentWrittenAtOnce) {
  PdfDoc doc;
  doc.CreateDocument();
  std::string pdf = Save(doc);

  const std::string o1 = "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n";
  const std::string o2 = "2 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids []\r\n/Count 0\r\n>>\r\nendobj\r\n";
  const std::string o3 =
      "3 0 obj\r\n<<\r\n/Producer (Plotvane\\040PDF\\040Library\\040Version\\0401.00)\r\n>>\r\nendobj\r\n";
  std::string expected = kHeader + o1 + o2 + o3;
  const int xrefAt = static_cast<int>(expected.size());
  char lines[128];
  snprintf(lines, sizeof lines,
           "xref\r\n0 4\r\n0000000000 65535 f\r\n%010d 00000 n\r\n%010d 00000 n\r\n%010d 00000 n\r\n", 16,
           static_cast<int>(16 + o1.size()), static_cast<int>(16 + o1.size() + o2.size()));
  expected += lines;
  expected += "trailer\r\n<<\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n/Size 4\r\n>>\r\nstartxref\r\n" +
              std::to_string(xrefAt) + "\r\n%%EOF\r\n";
  EXPECT_EQ(pdf, expected);
  EXPECT_EQ(CheckXref(pdf), 4);
  EXPECT_EQ(doc.GetXref()->GetXrefOffset(), xrefAt);
  // A second save writes the same bytes.
  EXPECT_EQ(Save(doc), expected);
}

TEST(PdfDocLayoutTest, OffsetsAndStreamLengthAcrossSaves) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();  // 4
  EXPECT_EQ(page->GetObjectId(), 4);
  PdfStream* content = AddVisibleContent(doc, page);  // 5
  PdfOutlineRoot* root = doc.GetCatalog()->GetOutlines();  // 6
  PdfOutlineItem* item = new PdfOutlineItem(root);          // 7
  item->SetTitle("Chart (1)");
  EXPECT_EQ(doc.GetXref()->GetCount(), 8);

  std::string first = Save(doc);
  // The Length object comes after every object that existed before the save.
  PdfObject* length = content->GetValue("Length");
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length->GetObjectId(), 8);
  EXPECT_EQ(CheckXref(first), 9);
  EXPECT_NE(first.find("/Size 9\r\n"), std::string::npos);
  EXPECT_NE(ObjectText(first, 5).find("<<\r\n/Length 8 0 R\r\n/Filter [/FlateDecode ]\r\n>>\r\nstream\r\n"),
            std::string::npos);
  std::string body = pvtest::inflateStreams(first).at(0);
  EXPECT_EQ(body, "0 0 1 rg\n50 50 300 300 re\nf\n");
  size_t s = first.find("stream\r\n") + 8;
  size_t e = first.find("endstream", s);
  EXPECT_EQ(ObjectText(first, 8), std::to_string(e - s));

  std::string second = Save(doc);
  EXPECT_EQ(content->GetValue("Length"), length);
  EXPECT_EQ(doc.GetXref()->GetCount(), 9);
  EXPECT_EQ(second, first);
}

TEST(PdfDocLayoutTest, WriteWithoutDocumentThrows) {
  PdfDoc doc;
  StringOut out;
  auto c = CatchPdf([&] { doc.WriteToStream(&out); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: PdfDoc::WriteToStream no document to save.");
  EXPECT_EQ(CatchPdf([&] { doc.AddPage(); }).code, -5);
  doc.CreateDocument();
  EXPECT_TRUE(doc.HasDoc());
  doc.FreeDocument();
  EXPECT_FALSE(doc.HasDoc());
  EXPECT_EQ(CatchPdf([&] { doc.WriteToStream(&out); }).code, -5);
  EXPECT_EQ(doc.GetInfo(), nullptr);
  EXPECT_EQ(out.data, "");
}

TEST(PdfDocLayoutTest, CreateAgainStartsAFreshDocument) {
  PdfDoc doc;
  doc.CreateDocument();
  doc.AddPage();
  doc.AddPage();
  doc.GetInfo()->SetTitle("old");
  Save(doc);
  doc.CreateDocument();
  EXPECT_EQ(doc.GetXref()->GetCount(), 4);
  EXPECT_EQ(doc.GetCatalog()->GetObjectId(), 1);
  EXPECT_EQ(doc.GetRootPages()->GetObjectId(), 2);
  EXPECT_EQ(doc.GetInfo()->GetObjectId(), 3);
  EXPECT_EQ(doc.GetCurrentPage(), nullptr);
  EXPECT_EQ(doc.GetCurrentPages(), doc.GetRootPages());
  EXPECT_EQ(doc.GetInfo()->GetTextValue("Title"), nullptr);
  EXPECT_EQ(CheckXref(Save(doc)), 4);
}

TEST(PdfDocMemoryTest, CreatedWrittenTwiceAndFreed) {
  for (int round = 0; round < 2; ++round) {
    PdfDoc doc;
    doc.CreateDocument();
    PdfPage* page = doc.AddPage();
    AddVisibleContent(doc, page);
    doc.GetInfo()->SetAuthor("a");
    doc.GetInfo()->SetCreationDate(2005, 9, 14, 10, 5, 0, '+', 2, 0);
    PdfOutlineItem* item = new PdfOutlineItem(doc.GetCatalog()->GetOutlines());
    PdfDestination* dest = new PdfDestination(page, false);
    dest->SetXYZ(0, 842, 1);
    item->SetDestination(dest);
    doc.GetCatalog()->SetViewerPreference(vpHideToolbar | vpCenterWindow);
    std::string a = Save(doc);
    std::string b = Save(doc);
    EXPECT_EQ(a, b);
    if (round == 0) doc.FreeDocument();  // the destructor frees the other
  }
}

TEST(PdfPageTest, NewPageDefaults) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  EXPECT_EQ(doc.GetCurrentPage(), page);
  EXPECT_EQ(page->GetParent(), doc.GetRootPages());
  EXPECT_EQ(Written(page),
            "<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n>>\r\n/MediaBox [0 0 596 842 ]\r\n>>");
  EXPECT_EQ(Written(doc.GetRootPages()), "<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>");
  PdfBox box = page->GetMediaBox();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.bottom, 0);
  EXPECT_EQ(box.right, 596);
  EXPECT_EQ(box.top, 842);
  EXPECT_EQ(page->GetRotate(), nullptr);
  PdfBox crop = page->GetCropBox();
  EXPECT_EQ(crop.right, 0);
  EXPECT_EQ(page->GetPageIndex(), 0);
}

TEST(PdfPageTest, SetSizeRefusesNonPositiveSizes) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  const struct {
    int w, h;
  } bad[] = {{0, 100}, {100, 0}, {-5, 10}, {0, 0}, {10, -1}};
  for (const auto& b : bad) {
    auto c = CatchPdf([&] { page->SetSize(b.w, b.h); });
    EXPECT_EQ(c.code, -5);
    EXPECT_EQ(c.message, "ERROR: invalid page size(" + std::to_string(b.w) + "," + std::to_string(b.h) + ").");
    EXPECT_EQ(Written(page->GetValue("MediaBox")), "[0 0 596 842 ]");
  }
  page->SetSize(612, 792);
  EXPECT_EQ(Written(page->GetValue("MediaBox")), "[0 0 612 792 ]");
  page->SetCropBox(10, 20, 30, 40);
  EXPECT_EQ(page->GetCropBox().top, 40);
  EXPECT_EQ(page->GetCropBox().left, 10);
}

TEST(PdfPageTest, SetRotateMultiplesOf90UpTo360) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  for (int ok : {0, 90, 180, 270, 360}) {
    page->SetRotate(ok);
    ASSERT_NE(page->GetRotate(), nullptr);
    EXPECT_EQ(page->GetRotate()->GetValue(), ok);
  }
  for (int bad : {45, -90, 450, 1, -360, 91}) {
    auto c = CatchPdf([&] { page->SetRotate(bad); });
    EXPECT_EQ(c.code, -5);
    EXPECT_EQ(c.message, "ERROR: PdfPageBase::SetRotate invarid value[" + std::to_string(bad) + "].");
    EXPECT_EQ(page->GetRotate()->GetValue(), 360);
  }
}

TEST(PdfPageTest, AttributesAreInherited) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPages* root = doc.GetRootPages();
  root->SetRotate(90);
  root->SetMediaBox(0, 0, 300, 400);
  PdfDictionary* shared = new PdfDictionary(doc.GetXref());
  root->SetResources(shared);
  PdfPage* page = doc.AddPage();
  // The page takes the node's attributes instead of adding its own.
  EXPECT_EQ(Written(page), "<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n>>");
  EXPECT_EQ(page->GetRotate()->GetValue(), 90);
  EXPECT_EQ(page->GetMediaBox().top, 400);
  EXPECT_EQ(page->GetResources(), shared);
  PdfDictionary* fonts = page->GetResource("Font");
  EXPECT_EQ(shared->GetValue("Font"), fonts);
  EXPECT_EQ(page->GetResource("Font"), fonts);

  auto c = CatchPdf([&] { page->GetResource("Fonts"); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: Invalid resource element name [Fonts].");
  for (const char* ok : {"ColorSpace", "XObject", "ExtGState", "Pattern", "Properties", "Shading"})
    EXPECT_NE(page->GetResource(ok), nullptr) << ok;
  EXPECT_EQ(shared->GetCount(), 7);

  PdfNumber notADict(3);
  auto r = CatchPdf([&] { page->SetResources(&notADict); });
  EXPECT_EQ(r.code, -5);
  EXPECT_EQ(r.message, "ERROR: PdfPage::SetResources invarid resources");
  root->SetResources(nullptr);
  EXPECT_EQ(root->GetValue("Resources"), nullptr);
}

TEST(PdfPageTest, ProcSetNamesInFixedOrder) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  page->AddProcSet(psText | psPDF);
  page->AddProcSet(psPDF);  // already there
  EXPECT_EQ(Written(page->GetResources()->GetValue("ProcSet")), "[/PDF /Text ]");
  page->AddProcSet(psImageI | psImageB);
  EXPECT_EQ(Written(page->GetResources()->GetValue("ProcSet")), "[/PDF /Text /ImageB /ImageI ]");
}

TEST(PdfPageTest, XObjectsByNameAndTheirProcSets) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  const struct {
    int kind;
    const char* procSet;
  } images[] = {{0, "[/ImageB ]"}, {3, "[/ImageB ]"}, {9, "[/ImageI ]"}, {1, "[/ImageC ]"}};
  for (const auto& image : images) {
    PdfPage* p = doc.AddPage();
    PdfXObject* x = new PdfXObject(doc.GetXref(), nullptr);
    x->AddElement("Subtype", new PdfName("Image"));
    x->SetColorSpaceKind(image.kind);
    doc.AddXObject(x, "Im1");
    p->AddXObject(x, "Im1");
    EXPECT_EQ(Written(p->GetResources()->GetValue("ProcSet")), image.procSet) << image.kind;
    EXPECT_STREQ(p->GetXObjectName(x), "Im1");
    auto c = CatchPdf([&] { p->AddXObject(x, "Im1"); });
    EXPECT_EQ(c.code, -5);
    EXPECT_EQ(c.message, "ERROR: duplicate XObject-name[Im1].");
  }
  // A form (no Image subtype) adds no procedure set; a missing name is made up.
  PdfXObject* form = new PdfXObject(doc.GetXref(), nullptr);
  doc.AddXObject(form);
  char expected[32];
  snprintf(expected, sizeof expected, "XOBJ%X", static_cast<unsigned int>(reinterpret_cast<uintptr_t>(form)));
  EXPECT_STREQ(form->GetName(), expected);
  EXPECT_TRUE(form->IsIndirect());
  page->AddXObject(form, "Fm1");
  EXPECT_EQ(page->GetResources()->GetValue("ProcSet"), nullptr);
  EXPECT_EQ(page->GetXObjectName(nullptr), nullptr);
  EXPECT_EQ(doc.GetXObjectMgr()->GetXObject(expected), form);
}

TEST(PdfPageTest, XObjectOfAnotherDocumentIsRefused) {
  PdfDoc one, other;
  one.CreateDocument();
  other.CreateDocument();
  PdfXObject* registered = new PdfXObject(other.GetXref(), nullptr);
  other.AddXObject(registered, "X");
  PdfXObject* unregistered = new PdfXObject(other.GetXref(), nullptr);
  other.GetXref()->AddObject(new PdfNumber(0));  // keeps the numbers apart
  for (PdfXObject* x : {registered, unregistered}) {
    auto c = CatchPdf([&] { one.AddXObject(x, "X"); });
    EXPECT_EQ(c.code, -5);
    EXPECT_EQ(c.message,
              "PdfDoc::AddXObject:: cannot add xobject. this object is owned by other PdfDoc object.");
  }
  EXPECT_EQ(one.GetXref()->GetCount(), 4);
  delete unregistered;
}

TEST(PdfPageTreeTest, NodeKindsAndCounts) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPages* root = doc.GetRootPages();
  PdfPages* left = root->AddPages();
  EXPECT_EQ(root->GetKind(), PdfPages::kPagesNode);
  auto c = CatchPdf([&] { root->AddPage(); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: Invalid operation cannot add Page.");
  EXPECT_EQ(CatchPdf([&] { doc.AddPage(); }).code, -5);  // the current node is still the root

  PdfPage* p1 = left->AddPage();
  EXPECT_EQ(doc.GetCurrentPages(), left);
  PdfPage* p2 = doc.AddPage();  // goes to the node of the last page
  EXPECT_EQ(p2->GetParent(), left);
  auto d = CatchPdf([&] { left->AddPages(); });
  EXPECT_EQ(d.code, -5);
  EXPECT_EQ(d.message, "ERROR: Invalid operation cannot add Pages.");
  PdfPages* right = root->AddPages(0);
  right->AddPage();
  PdfPage* p0 = left->AddPage(0);
  EXPECT_EQ(p0->GetPageIndex(), 0);
  EXPECT_EQ(p1->GetPageIndex(), 1);
  EXPECT_EQ(p2->GetPageIndex(), 2);
  for (int bad : {-2, 4, 100}) EXPECT_EQ(CatchPdf([&] { left->AddPage(bad); }).code, -5) << bad;
  EXPECT_EQ(CatchPdf([&] { root->AddPages(5); }).code, -5);

  EXPECT_EQ(root->GetPageCount(), 4);
  EXPECT_EQ(left->GetPageCount(), 3);
  std::string pdf = Save(doc);
  std::string rootText = ObjectText(pdf, 2);
  EXPECT_EQ(rootText, "<<\r\n/Type /Pages\r\n/Kids [" + std::to_string(right->GetObjectId()) + " 0 R " +
                          std::to_string(left->GetObjectId()) + " 0 R ]\r\n/Count 4\r\n>>");
  EXPECT_EQ(ObjectText(pdf, left->GetObjectId()).substr(0, 23), "<<\r\n/Type /Pages\r\n/Kids");
  EXPECT_NE(ObjectText(pdf, left->GetObjectId()).find("/Parent 2 0 R\r\n/Count 3\r\n>>"), std::string::npos);
  CheckXref(pdf);
}

TEST(PdfCatalogTest, ViewerSettingsBecomeKeysWhenWritten) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfCatalog* catalog = doc.GetCatalog();
  catalog->SetPageLayout(plOneColumn);
  catalog->SetPageMode(pmUseOutlines);
  catalog->SetViewerPreference(vpHideToolbar | vpFitWindow);
  EXPECT_EQ(Written(catalog),
            "<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n/PageLayout /OneColumn\r\n/PageMode /UseOutlines\r\n"
            "/ViewerPreferences <<\r\n/HideToolbar true\r\n/FitWindow true\r\n>>\r\n>>");

  catalog->SetViewerPreference(vpHideMenubar | vpHideWindowUI | vpCenterWindow);
  catalog->SetPageLayout(plTwoColumnRight);
  catalog->SetPageMode(pmFullScreen);
  catalog->SetNonFullScreenPageMode(pmUseThumbs);
  EXPECT_EQ(Written(catalog),
            "<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n/ViewerPreferences <<\r\n/HideMenubar true\r\n"
            "/HideWindowUI true\r\n/CenterWindow true\r\n>>\r\n/PageLayout /TwoColumnRight\r\n"
            "/PageMode /FullScreen\r\n/NonFullScreenPageMode /UseThumbs\r\n>>");

  catalog->SetViewerPreference(0);
  catalog->SetPageLayout(plSinglePage);
  catalog->SetPageMode(pmUseNone);
  catalog->SetNonFullScreenPageMode(pmUseNone);
  EXPECT_EQ(Written(catalog), "<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>");
  EXPECT_EQ(catalog->GetPages(), doc.GetRootPages());
}

TEST(PdfCatalogTest, OutlinesOpenActionAndPageLabels) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfCatalog* catalog = doc.GetCatalog();
  PdfOutlineRoot* root = catalog->GetOutlines();
  EXPECT_EQ(catalog->GetOutlines(), root);
  EXPECT_EQ(root->GetObjectId(), 4);
  PdfPage* page = doc.AddPage();  // 5

  PdfDestination nowhere(nullptr, false);
  auto c = CatchPdf([&] { catalog->SetOpenAction(&nowhere); });
  EXPECT_EQ(c.code, -5);
  EXPECT_EQ(c.message, "ERROR: PdfCatalog::SetOpenAction --Invalid destination.");

  PdfDestination* open = new PdfDestination(page, true);
  catalog->SetOpenAction(open);  // valid: an empty destination becomes Fit
  catalog->AddPageLabel(0, pnLowerRoman, 3, "A-");
  catalog->AddPageLabel(2, pnDecimal, 1, nullptr);
  EXPECT_EQ(Written(catalog),
            "<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n/Outlines 4 0 R\r\n/PageLabels <<\r\n/Nums [0 <<\r\n/S /r\r\n"
            "/P (A-)\r\n/St 3\r\n>> 2 <<\r\n/S /D\r\n>> ]\r\n>>\r\n/OpenAction 6 0 R\r\n>>");
  EXPECT_EQ(Written(open), "[5 0 R /Fit ]");
  catalog->SetOpenAction(nullptr);
  EXPECT_EQ(Written(catalog).find("OpenAction"), std::string::npos);

  catalog->RemoveElement("Pages");
  auto p = CatchPdf([&] { catalog->GetPages(); });
  EXPECT_EQ(p.code, -5);
  EXPECT_EQ(p.message, "ERROR: Pages element not found.");
}

TEST(PdfWriteToFileTest, WrittenFilePassesTheReaders) {
  std::string dir = pvtest::makeTempDir();
  std::string path = dir + "/chart.pdf";
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  AddVisibleContent(doc, page);
  PdfInfo* info = doc.GetInfo();
  info->SetTitle("Sales (2005)");
  info->SetAuthor("Plotvane tests");
  info->SetCreationDate(2005, 9, 14, 10, 5, 0, '+', 2, 0);
  info->SetModDate(2006, 1, 2, 3, 4, 5, 'z', 0, 0);
  PdfOutlineRoot* root = doc.GetCatalog()->GetOutlines();
  PdfOutlineItem* item = new PdfOutlineItem(root);
  item->SetTitle("Sales");
  item->SetOpened(true);
  PdfDestination* dest = new PdfDestination(page, true);
  dest->SetXYZ(0, 842, 1);
  item->SetDestination(dest);
  PdfOutlineItem* child = new PdfOutlineItem(item);
  child->SetTitle("North");
  PdfDestination* fit = new PdfDestination(page, false);
  fit->SetFitH(500);
  child->SetDestination(fit);
  doc.GetCatalog()->SetPageMode(pmUseOutlines);
  doc.GetCatalog()->SetPageLayout(plOneColumn);
  doc.GetCatalog()->SetViewerPreference(vpHideToolbar | vpFitWindow);

  doc.WriteToFile(path.c_str());
  EXPECT_EQ(pvtest::checkWithReaders(path), "");
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"chart.pdf"}));
  std::string first = pvtest::readFile(path);
  CheckXref(first);

  // Saving again replaces an existing file. (The catalog's write-time keys
  // are re-added at each save, so their order may differ from the first.)
  pvtest::writeFile(path, "old contents");
  doc.WriteToFile(path.c_str());
  std::string second = pvtest::readFile(path);
  EXPECT_EQ(second.size(), first.size());
  EXPECT_EQ(second, Save(doc));
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"chart.pdf"}));
  EXPECT_EQ(pvtest::checkWithReaders(path), "");
}

// Replacing the file must not change what the name is: a link stays a link
// to the file it names, and a private file stays private.
TEST(PdfWriteToFileTest, ReplacedFileKeepsItsLinkAndMode) {
  std::string dir = pvtest::makeTempDir();
  ASSERT_EQ(mkdir((dir + "/real").c_str(), 0755), 0);
  std::string real = dir + "/real/chart.pdf";
  pvtest::writeFile(real, "old");
  ASSERT_EQ(chmod(real.c_str(), 0600), 0);
  std::string link = dir + "/link.pdf";
  ASSERT_EQ(symlink("real/chart.pdf", link.c_str()), 0);

  PdfDoc doc;
  doc.CreateDocument();
  AddVisibleContent(doc, doc.AddPage());
  doc.WriteToFile(link.c_str());

  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(pvtest::readFile(real).substr(0, 8), "%PDF-1.2");
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"real", "link.pdf"}));
  EXPECT_EQ(pvtest::dirEntries(dir + "/real"), std::set<std::string>({"chart.pdf"}));
  EXPECT_EQ(pvtest::checkWithReaders(real), "");

  // A new file gets the usual mode for new files.
  std::string fresh = dir + "/fresh.pdf";
  mode_t mask = umask(022);
  doc.WriteToFile(fresh.c_str());
  umask(mask);
  ASSERT_EQ(stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_EQ(pvtest::checkWithReaders(fresh), "");
}

TEST(PdfWriteToFileTest, LongestFileNameStillSaves) {
  std::string dir = pvtest::makeTempDir();
  std::string name(251, 'n');
  name += ".pdf";  // 255 bytes, the most a name may have
  PdfDoc doc;
  doc.CreateDocument();
  doc.WriteToFile((dir + "/" + name).c_str());
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({name}));
}

TEST(PdfWriteToFileTest, MissingFolderFailsWithTheOpenError) {
  std::string dir = pvtest::makeTempDir();
  PdfDoc doc;
  doc.CreateDocument();
  auto c = CatchPdf([&] { doc.WriteToFile((dir + "/absent/out.pdf").c_str()); });
  EXPECT_EQ(c.code, -3);
  EXPECT_EQ(c.message, "ERROR: cannot write to stream(" + std::to_string(ENOENT) + ").");
  EXPECT_TRUE(pvtest::dirEntries(dir).empty());
}

TEST(PdfWriteToFileTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  std::string dir = pvtest::makeTempDir();
  std::string path = dir + "/out.pdf";
  pvtest::writeFile(path, "an earlier chart");
  PdfDoc doc;
  doc.CreateDocument();
  doc.AddPage()->AddElement("UserUnit", new PdfReal(40000.0));  // cannot be written
  auto c = CatchPdf([&] { doc.WriteToFile(path.c_str()); });
  EXPECT_EQ(c.code, -4);  // the save's own failure passes through
  EXPECT_EQ(pvtest::readFile(path), "an earlier chart");
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"out.pdf"}));

  // The same without an earlier file: nothing is left under the name.
  std::string fresh = dir + "/fresh.pdf";
  EXPECT_EQ(CatchPdf([&] { doc.WriteToFile(fresh.c_str()); }).code, -4);
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"out.pdf"}));
}

TEST(PdfWriteToFileTest, TargetThatIsAFolderIsLeftAlone) {
  std::string dir = pvtest::makeTempDir();
  std::string target = dir + "/taken.pdf";
  ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
  pvtest::writeFile(target + "/inside", "x");
  PdfDoc doc;
  doc.CreateDocument();
  EXPECT_EQ(CatchPdf([&] { doc.WriteToFile(target.c_str()); }).code, -3);
  EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"taken.pdf"}));
  EXPECT_EQ(pvtest::readFile(target + "/inside"), "x");
}

TEST(PdfWriteToFileTest, UnwritableFolderFails) {
  const std::string locked = pvtest::makeTempDir() + "/locked";
  ASSERT_EQ(mkdir(locked.c_str(), 0555), 0);
  std::string dir = locked;
  // Root writes into a mode-0555 folder anyway; sysfs refuses new files to
  // everyone, so it stands in then.
  std::string probe = dir + "/probe";
  int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd >= 0) {
    close(fd);
    unlink(probe.c_str());
    dir = "/sys";
  }
  std::string target = dir + "/plotvane-out.pdf";
  PdfDoc doc;
  doc.CreateDocument();
  auto c = CatchPdf([&] { doc.WriteToFile(target.c_str()); });
  EXPECT_EQ(c.code, -3);
  EXPECT_EQ(c.message.rfind("ERROR: cannot write to stream(", 0), 0u) << c.message;
  EXPECT_FALSE(pvtest::fileExists(target));
  EXPECT_TRUE(pvtest::dirEntries(locked).empty());
}

}  // namespace
