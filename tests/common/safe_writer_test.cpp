#include "common/file_io.h"
#include "common/temp_files.h"
#include "shell/messages.h"
#include "support/in_child.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace r470 {
namespace {

using test::InChild;
using test::kNobody;
using test::kNogroup;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<std::uint8_t> kNew = {'n', 'e', 'w', ' ', 'b', 'y', 't', 'e', 's'};

struct stat Stat(const std::string& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st;
}

int Save(const std::string& path, const std::vector<std::uint8_t>& bytes = kNew) {
    return WriteFileBytes(path, bytes);
}

// ---- error codes ----

TEST(IoCodes, UnknownErrnoNeverPassesForOneOfTheProgramsCodes) {
    const int own[] = {2, 3, 4, 5, 100, 101};
    struct Known {
        int err;
        IoOp op;
        int code;
    } known[] = {
        {ENOENT, IoOp::Open, 2},    {ENOTDIR, IoOp::Open, 3}, {ENAMETOOLONG, IoOp::Open, 3},
        {EMFILE, IoOp::Open, 4},    {EACCES, IoOp::Open, 5},  {EROFS, IoOp::Write, 5},
        {EIO, IoOp::Read, 100},     {EIO, IoOp::Write, 101},  {EIO, IoOp::Open, 101},
        {ENOSPC, IoOp::Write, 101}, {EFBIG, IoOp::Write, 101}};
    for (const Known& k : known)
        EXPECT_EQ(IoCodeFromErrno(k.err, k.op), k.code) << "errno " << k.err;
    // ESRCH (3), EINTR (4), ENETDOWN (100), ENETUNREACH (101) and the rest have no code.
    for (int err = 1; err < 140; ++err) {
        bool mapped = false;
        for (const Known& k : known)
            mapped = mapped || k.err == err;
        if (mapped || err == EPERM || err == EISDIR || err == ETXTBSY || err == ENFILE ||
            err == ELOOP || err == EDQUOT || err == ENXIO || err == ENODEV)
            continue;
        for (IoOp op : {IoOp::Open, IoOp::Read, IoOp::Write}) {
            int code = IoCodeFromErrno(err, op);
            for (int c : own)
                EXPECT_NE(code, c) << "errno " << err;
            EXPECT_EQ(IoErrorText(code), "Error " + std::to_string(code));
        }
    }
    EXPECT_EQ(IoCodeFromErrno(ESRCH), kUnknownErrnoBase + ESRCH);
}

// ---- what the name leads to ----

TEST(SafeWriter, WritesNewFilesAndReplacesOldOnesLeavingNothingBehind) {
    TempDir dir;
    EXPECT_EQ(Save(dir.Path("A.KEL"), kOld), 0);
    EXPECT_EQ(ReadBytes(dir.Path("A.KEL")), kOld);
    EXPECT_EQ(Save(dir.Path("A.KEL")), 0);
    EXPECT_EQ(ReadBytes(dir.Path("A.KEL")), kNew);
    // A longest legal name: the temporary name must not grow with it.
    std::string longName(246, 'L');
    longName += ".KEL";
    ASSERT_EQ(longName.size(), 250u);
    EXPECT_EQ(Save(dir.Path(longName), kOld), 0);
    EXPECT_EQ(Save(dir.Path(longName)), 0);
    EXPECT_EQ(ReadBytes(dir.Path(longName)), kNew);
    EXPECT_EQ(dir.Names().size(), 2u);
    EXPECT_EQ(Save(dir.Path("no/such/X.KEL")), 3);
    EXPECT_EQ(Save(dir.Path("")), 5) << "a folder is not a file";
}

TEST(SafeWriter, SymbolicLinksAndHardLinksSeeTheNewBytes) {
    TempDir dir;
    ::mkdir(dir.Path("real").c_str(), 0755);
    WriteBytes(dir.Path("real/T.KEL"), kOld);
    ASSERT_EQ(::symlink("real/T.KEL", dir.Path("LINK.KEL").c_str()), 0);
    ASSERT_EQ(::symlink("LINK.KEL", dir.Path("LINK2.KEL").c_str()), 0);
    EXPECT_EQ(Save(dir.Path("LINK2.KEL")), 0);
    EXPECT_TRUE(S_ISLNK(Stat(dir.Path("LINK.KEL")).st_mode));
    EXPECT_TRUE(S_ISLNK(Stat(dir.Path("LINK2.KEL")).st_mode));
    EXPECT_EQ(ReadBytes(dir.Path("real/T.KEL")), kNew);
    EXPECT_EQ(dir.Names().size(), 3u) << "no temporary beside the link";

    // A dangling link: the file it points at is made, as a plain write would.
    ASSERT_EQ(::symlink("real/NEW.KEL", dir.Path("DANGLING.KEL").c_str()), 0);
    EXPECT_EQ(Save(dir.Path("DANGLING.KEL")), 0);
    EXPECT_TRUE(S_ISLNK(Stat(dir.Path("DANGLING.KEL")).st_mode));
    EXPECT_EQ(ReadBytes(dir.Path("real/NEW.KEL")), kNew);

    ASSERT_EQ(::symlink("LOOP.KEL", dir.Path("LOOP.KEL").c_str()), 0);
    EXPECT_EQ(Save(dir.Path("LOOP.KEL")), 3);

    WriteBytes(dir.Path("H1.KEL"), kOld);
    ASSERT_EQ(::link(dir.Path("H1.KEL").c_str(), dir.Path("H2.KEL").c_str()), 0);
    ino_t ino = Stat(dir.Path("H1.KEL")).st_ino;
    EXPECT_EQ(Save(dir.Path("H1.KEL")), 0);
    EXPECT_EQ(ReadBytes(dir.Path("H2.KEL")), kNew);
    EXPECT_EQ(Stat(dir.Path("H1.KEL")).st_ino, ino);
    EXPECT_EQ(Stat(dir.Path("H1.KEL")).st_nlink, 2u);
}

TEST(SafeWriter, RefusesWhatIsNotARegularFileWithoutBlocking) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("F.KEL").c_str(), 0666), 0);
    EXPECT_EQ(Save(dir.Path("F.KEL")), 5);
    EXPECT_TRUE(S_ISFIFO(Stat(dir.Path("F.KEL")).st_mode));
    ASSERT_EQ(::symlink("F.KEL", dir.Path("TOFIFO.KEL").c_str()), 0);
    EXPECT_EQ(Save(dir.Path("TOFIFO.KEL")), 5);
    EXPECT_TRUE(S_ISFIFO(Stat(dir.Path("F.KEL")).st_mode));
    // Reading one must not wait for a writer either.
    InFile in;
    EXPECT_EQ(in.Open(dir.Path("F.KEL")), 5);
    EXPECT_FALSE(CanOpenForReading(dir.Path("F.KEL")));

    if (::mknod(dir.Path("null.KEL").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here (needs root)";
    EXPECT_EQ(Save(dir.Path("null.KEL")), 5);
    EXPECT_TRUE(S_ISCHR(Stat(dir.Path("null.KEL")).st_mode));
    EXPECT_EQ(in.Open(dir.Path("null.KEL")), 5);
}

TEST(SafeWriter, KeepsOwnerGroupAndModeOfAnotherUsersFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file to another user";
    TempDir dir;
    for (mode_t mode : {04775, 0664, 0600}) {
        std::string p = dir.Path("OTHER.KEL");
        WriteBytes(p, kOld);
        ASSERT_EQ(::chown(p.c_str(), kNobody, kNogroup), 0);
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
        EXPECT_EQ(Save(p), 0);
        struct stat st = Stat(p);
        EXPECT_EQ(st.st_uid, kNobody);
        EXPECT_EQ(st.st_gid, kNogroup);
        EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(ReadBytes(p), kNew);
    }
}

// ---- as an ordinary user ----

class AsNobody : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to set up files of other owners and drop to nobody";
        ::chmod(dir_.Path().c_str(), 0755);
        ASSERT_EQ(::mkdir(Mine().c_str(), 0755), 0); // nobody may write here
        ASSERT_EQ(::chown(Mine().c_str(), kNobody, kNogroup), 0);
        ASSERT_EQ(::mkdir(Theirs().c_str(), 0755), 0); // and not here
    }
    std::string Mine(const std::string& name = "") const {
        return dir_.Path("mine") + (name.empty() ? "" : "/" + name);
    }
    std::string Theirs(const std::string& name = "") const {
        return dir_.Path("theirs") + (name.empty() ? "" : "/" + name);
    }
    void Make(const std::string& p, uid_t uid, gid_t gid, mode_t mode) {
        WriteBytes(p, kOld);
        ASSERT_EQ(::chown(p.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
    }
    std::optional<int> SaveAsNobody(const std::string& p) {
        return InChild(true, [p] { return Save(p); });
    }

    TempDir dir_;
};

TEST_F(AsNobody, NoSaveSucceedsWhereAPlainWriteWasDenied) {
    struct Case {
        const char* name;
        uid_t uid;
        gid_t gid;
        mode_t mode;
    } cases[] = {{"READONLY.KEL", kNobody, kNogroup, 0444},
                 {"ROOTS.KEL", 0, 0, 0000},
                 {"ROOTS644.KEL", 0, 0, 0644}};
    for (const Case& c : cases) {
        std::string p = Mine(c.name);
        Make(p, c.uid, c.gid, c.mode);
        EXPECT_EQ(SaveAsNobody(p), 5) << c.name;
        struct stat st = Stat(p);
        EXPECT_EQ(st.st_uid, c.uid) << c.name;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.name;
        EXPECT_EQ(ReadBytes(p), kOld) << c.name;
    }
    EXPECT_EQ(SaveAsNobody(Theirs("NEW.KEL")), 5) << "no file can be made in their folder";
    EXPECT_EQ(::access(Theirs("NEW.KEL").c_str(), F_OK), -1);
}

TEST_F(AsNobody, WritesWhereAPlainWriteCouldKeepingOwnerAndLinks) {
    // A writable file in a folder the user may not write: rewritten in place.
    std::string inTheirs = Theirs("MINE.KEL");
    Make(inTheirs, kNobody, kNogroup, 0644);
    EXPECT_EQ(SaveAsNobody(inTheirs), 0);
    EXPECT_EQ(ReadBytes(inTheirs), kNew);

    // Root's file, writable through nobody's group, in nobody's folder: stays root's.
    std::string shared = Mine("SHARED.KEL");
    Make(shared, 0, kNogroup, 02664);
    EXPECT_EQ(SaveAsNobody(shared), 0);
    struct stat st = Stat(shared);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_gid, kNogroup);
    EXPECT_EQ(st.st_mode & 07777, 02664u);
    EXPECT_EQ(ReadBytes(shared), kNew);

    // Nobody's own file in nobody's folder: replaced whole, same owner and mode.
    std::string own = Mine("OWN.KEL");
    Make(own, kNobody, kNogroup, 0640);
    EXPECT_EQ(SaveAsNobody(own), 0);
    st = Stat(own);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(own), kNew);
    std::size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(Mine()))
        ++entries;
    EXPECT_EQ(entries, 2u) << "no temporary file is left behind";
}

// ---- a file-size limit ----

TEST(SafeWriter, ASizeLimitIsAWriteErrorThatLeavesTheOldBytes) {
    TempDir dir;
    std::vector<std::uint8_t> big(4096, 0x5A);
    for (bool linked : {false, true}) { // replaced by rename / rewritten in place
        std::string p = dir.Path(linked ? "LINKED.KEL" : "PLAIN.KEL");
        WriteBytes(p, kOld);
        if (linked) {
            ASSERT_EQ(::link(p.c_str(), (p + "2").c_str()), 0);
        }
        auto r = InChild(false, [&] {
            struct rlimit lim {
                1024, 1024
            };
            if (::setrlimit(RLIMIT_FSIZE, &lim) != 0)
                return -1;
            ::signal(SIGXFSZ, SIG_DFL);
            return WriteFileBytes(p, big);
        });
        ASSERT_TRUE(r.has_value()) << "the save was killed by the size limit";
        EXPECT_EQ(*r, 101);
        EXPECT_EQ(ReadBytes(p), kOld);
    }
    EXPECT_EQ(dir.Names().size(), 3u) << "no temporary file is left behind";
}

// ---- temporary files left by a killed save ----

TEST(SafeWriter, TheNextSaveRemovesTemporaryFilesOfWritersThatHaveGone) {
    pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone), alive = std::to_string(::getpid());
    struct Case {
        std::string name;
        bool old; // unchanged for two minutes
        bool folder;
        bool removed;
    } cases[] = {
        {".r470~" + dead + ".a1b2c3", true, false, true},
        {".r470~" + dead + ".a1b2c4", false, false, false}, // may still be being written
        {".r470~" + alive + ".a1b2c5", true, false, false}, // its writer is running
        {".r470~q9w8e7", true, false, true},                // an older name without a pid
        {".r470~" + dead + ".a1b2", true, false, false},    // not one of our names
        {".r470~" + dead + ".a1b2c6", true, true, false},   // not a plain file
        {"r470~" + dead + ".a1b2c7", true, false, false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::string p = dir.Path(c.name);
        if (c.folder)
            ASSERT_EQ(::mkdir(p.c_str(), 0755), 0);
        else
            WriteBytes(p, kOld);
        if (c.old) {
            struct timeval then[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
            ASSERT_EQ(::utimes(p.c_str(), then), 0);
        }
    }
    ASSERT_EQ(Save(dir.Path("A.KEL")), 0);
    for (const Case& c : cases)
        EXPECT_EQ(::access(dir.Path(c.name).c_str(), F_OK) != 0, c.removed) << c.name;
    EXPECT_EQ(TempFileOwner(TempFileName(4194304, "zz0099")), 4194304);
}

} // namespace
} // namespace r470
