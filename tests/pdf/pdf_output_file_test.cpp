// What a save does to each kind of name it may meet on disk.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "pdf/pdf_doc.h"
#include "tests/pdf/core_test_util.h"
#include "tests/support/test_support.h"

using coretest::CatchPdf;
using coretest::StringOut;

namespace {

void MakeDoc(PdfDoc& doc) {
  doc.CreateDocument();
  doc.AddPage();
}

std::string Expected() {
  PdfDoc doc;
  MakeDoc(doc);
  StringOut out;
  doc.WriteToStream(&out);
  return out.data;
}

std::string WriteError(int err) { return "ERROR: cannot write to stream(" + std::to_string(err) + ")."; }

// Every entry below root, with its kind, a link's target and a regular
// file's inode, so a test sees any entry added, removed or replaced.
std::map<std::string, std::string> Tree(const std::string& root, const std::string& sub = "") {
  std::map<std::string, std::string> tree;
  DIR* d = opendir((root + sub).c_str());
  if (!d) return tree;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string rel = sub + "/" + name;
    struct stat st;
    if (lstat((root + rel).c_str(), &st) != 0) continue;
    if (S_ISLNK(st.st_mode)) {
      char buf[4096];
      ssize_t n = readlink((root + rel).c_str(), buf, sizeof buf);
      tree[rel] = "link " + std::string(buf, n > 0 ? n : 0);
    } else if (S_ISDIR(st.st_mode)) {
      tree[rel] = "folder";
      for (auto& entry : Tree(root, rel)) tree.insert(entry);
    } else {
      tree[rel] = std::string(S_ISREG(st.st_mode) ? "file " : "other ") + std::to_string(st.st_ino);
    }
  }
  closedir(d);
  return tree;
}

// Runs f in a child process, as the unprivileged user "nobody" when the
// tests run as root (whose permissions no folder mode restricts). Returns
// the child's exit code, or -1 when it did not exit.
int InChildAsUser(const std::function<int()>& f) {
  pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) _exit(90);
    _exit(f());
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PdfOutputFileTest, LinksAreFollowedToTheEndOfTheirChain) {
  struct Case {
    const char* what;
    std::vector<std::string> folders, files;
    std::vector<std::pair<std::string, std::string>> links;  // name, target
    const char* name;
    const char* written;  // where the PDF lands, "" when the save fails
    int err;
  };
  const Case cases[] = {
      {"dangling link", {"sub"}, {}, {{"out.pdf", "sub/new.pdf"}}, "out.pdf", "/sub/new.pdf", 0},
      {"relative links across folders",
       {"a", "b"},
       {"b/real.pdf"},
       {{"a/first.pdf", "../b/second.pdf"}, {"b/second.pdf", "real.pdf"}},
       "a/first.pdf",
       "/b/real.pdf",
       0},
      {"link loop", {}, {}, {{"x.pdf", "y.pdf"}, {"y.pdf", "x.pdf"}}, "x.pdf", "", ELOOP},
      {"link into a missing folder", {}, {}, {{"out.pdf", "absent/new.pdf"}}, "out.pdf", "", ENOENT},
      {"link to a folder", {"sub"}, {}, {{"out.pdf", "sub"}}, "out.pdf", "", EISDIR},
  };
  const std::string expected = Expected();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string dir = pvtest::makeTempDir();
    for (const auto& f : c.folders) ASSERT_EQ(mkdir((dir + "/" + f).c_str(), 0755), 0);
    for (const auto& f : c.files) pvtest::writeFile(dir + "/" + f, "old");
    for (const auto& l : c.links) ASSERT_EQ(symlink(l.second.c_str(), (dir + "/" + l.first).c_str()), 0);
    auto before = Tree(dir);

    PdfDoc doc;
    MakeDoc(doc);
    const std::string name = dir + "/" + c.name;
    if (c.err == 0) {
      doc.WriteToFile(name.c_str());
      EXPECT_EQ(pvtest::readFile(dir + c.written), expected);
      auto after = Tree(dir);
      after.erase(c.written);  // a new file, or the old one replaced by a new inode
      before.erase(c.written);
      EXPECT_EQ(after, before);
    } else {
      auto caught = CatchPdf([&] { doc.WriteToFile(name.c_str()); });
      EXPECT_EQ(caught.code, -3);
      EXPECT_EQ(caught.message, WriteError(c.err));
      EXPECT_EQ(Tree(dir), before);
    }
  }
}

TEST(PdfOutputFileTest, FifoIsWrittenThroughToItsReader) {
  std::string dir = pvtest::makeTempDir();
  std::string fifo = dir + "/out.pdf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto before = Tree(dir);
  // The reader's end is open before the save, and a writer of our own keeps
  // it from seeing the end early; once that writer is closed the reader ends
  // whatever the save did, so the test cannot hang.
  int readEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(readEnd, 0);
  int keepOpen = open(fifo.c_str(), O_WRONLY);
  ASSERT_GE(keepOpen, 0);
  fcntl(readEnd, F_SETFL, 0);
  std::string received;
  std::thread reader([&] {
    char buf[4096];
    ssize_t n;
    while ((n = read(readEnd, buf, sizeof buf)) > 0) received.append(buf, n);
  });
  PdfDoc doc;
  MakeDoc(doc);
  EXPECT_NO_THROW(doc.WriteToFile(fifo.c_str()));
  close(keepOpen);
  reader.join();
  close(readEnd);
  EXPECT_EQ(received, Expected());
  EXPECT_EQ(Tree(dir), before);  // still the same FIFO, and nothing beside it
}

// Device nodes made here with the numbers of /dev/full and /dev/null.
TEST(PdfOutputFileTest, DeviceIsWrittenInPlaceAndItsErrorsFailTheSave) {
  if (geteuid() != 0) GTEST_SKIP() << "making device nodes needs root";
  struct Case {
    unsigned minor;
    bool throughLink;
    int err;
  };
  for (const Case& c : {Case{7, true, ENOSPC}, Case{3, false, 0}}) {
    SCOPED_TRACE("device 1," + std::to_string(c.minor));
    std::string dir = pvtest::makeTempDir();
    std::string node = dir + "/device";
    ASSERT_EQ(mknod(node.c_str(), S_IFCHR | 0666, makedev(1, c.minor)), 0);
    std::string name = node;
    if (c.throughLink) {
      name = dir + "/out.pdf";
      ASSERT_EQ(symlink("device", name.c_str()), 0);
    }
    auto before = Tree(dir);
    PdfDoc doc;
    MakeDoc(doc);
    if (c.err == 0) {
      doc.WriteToFile(name.c_str());
    } else {
      auto caught = CatchPdf([&] { doc.WriteToFile(name.c_str()); });
      EXPECT_EQ(caught.code, -3);
      EXPECT_EQ(caught.message, WriteError(c.err));
    }
    EXPECT_EQ(Tree(dir), before);
    struct stat st;
    ASSERT_EQ(lstat(node.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(st.st_rdev, makedev(1, c.minor));
  }
}

// The replace makes a new file: it takes over the old one's owner, group and
// mode, while another hard link keeps the old file.
TEST(PdfOutputFileTest, ReplacedFileKeepsOwnerGroupAndModeButNotItsHardLinks) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a file to another owner needs root";
  std::string dir = pvtest::makeTempDir();
  std::string path = dir + "/out.pdf";
  pvtest::writeFile(path, "old");
  ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
  ASSERT_EQ(chmod(path.c_str(), 02640), 0);
  ASSERT_EQ(link(path.c_str(), (dir + "/other.pdf").c_str()), 0);

  PdfDoc doc;
  MakeDoc(doc);
  doc.WriteToFile(path.c_str());
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
  EXPECT_EQ(st.st_mode & 07777, 02640u);
  EXPECT_EQ(st.st_nlink, 1u);
  EXPECT_EQ(pvtest::readFile(path), Expected());
  EXPECT_EQ(pvtest::readFile(dir + "/other.pdf"), "old");
}

// A folder that takes no temporary file, or a sticky folder that forbids
// renaming over another user's file: the writable file is written in place.
TEST(PdfOutputFileTest, WritableFileIsWrittenInPlaceWhenItCannotBeReplaced) {
  struct Case {
    const char* what;
    mode_t folderMode;
    bool rootOnly;  // the file must belong to another user
  };
  const Case cases[] = {{"read-only folder", 0555, false}, {"sticky folder", 01777, true}};
  const std::string expected = Expected();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.rootOnly && geteuid() != 0) continue;
    std::string dir = pvtest::makeTempDir();
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
    std::string folder = dir + "/f", path = folder + "/out.pdf";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    pvtest::writeFile(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);
    auto before = Tree(dir);

    int rc = InChildAsUser([&] {
      PdfDoc doc;
      MakeDoc(doc);
      try {
        doc.WriteToFile(path.c_str());
      } catch (const PdfException& e) {
        return 1;
      }
      return 0;
    });
    chmod(folder.c_str(), 0755);  // so the temporary folder can be removed
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(pvtest::readFile(path), expected);
    EXPECT_EQ(Tree(dir), before);  // the same inode, nothing beside it
  }
}

}  // namespace
