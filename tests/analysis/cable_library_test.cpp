// The cable library: the built-in list, the user's hand-edited file (bad lines reported and
// skipped, never lost on a rewrite), names in any letter case, the nearest names.
#include "analysis/cable_library.h"
#include "common/cp1252.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace r470 {
namespace {

std::string Read(const std::string& path) {
    auto b = test::ReadBytes(path);
    return {b.begin(), b.end()};
}

TEST(CableLibrary, BuiltInEntriesAreUsableAndDistinct) {
    std::set<std::string> seen;
    for (const CableEntry& e : BuiltInCables()) {
        EXPECT_GE(e.diel, 300) << e.name;
        EXPECT_LE(e.diel, 999) << e.name;
        EXPECT_FALSE(e.user);
        EXPECT_LE(e.name.size(), 40u) << e.name;
        EXPECT_EQ(e.name.find(';'), std::string::npos) << e.name;
        std::string folded;
        for (char c : e.name)
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(folded).second) << "twice: " << e.name;
        // A user's list cannot take a built-in name, in any case.
        EXPECT_NE(CableNameProblem(folded), "") << e.name;
    }
}

TEST(CableLibrary, EachLineOfTheUsersFileIsACableOrAReportedProblem) {
    struct Row {
        std::string line;
        int diel;            // 0: no entry from this line
        const char* problem; // part of the report, "" for none
    };
    const Row rows[] = {
        {"My coax; 0.712; measured in the yard", 712, ""},
        {"Drop cable ; 66% ", 660, ""},
        {"Euro feeder; 0,655", 655, ""},
        {"Half; .5; note; with; semicolons", 500, ""},
        {"# a comment; 0.1", 0, ""},
        {"   ", 0, ""},
        {"no separator here", 0, "no velocity factor"},
        {"Words; fast", 0, "\"fast\" is not a number"},
        {"Too fast; 1.2", 0, "outside"},
        {"Too slow; 0.299", 0, "outside"},
        {"Negative; -0.5", 0, "not a number"},
        {"Not finite; inf", 0, "not a number"},
        {"; 0.6", 0, "no name before the first ';'"},
        {"rg-58 SOLID pe; 0.7", 0, "built-in"},
        {"MY COAX; 0.7", 0, "already on line 1"},
        {std::string("Tab\tname; 0.6"), 0, "tab"},
        {"Last one without line end; 0.999", 999, ""},
    };
    std::string text;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        text += rows[i].line + (i + 1 < std::size(rows) ? (i % 2 ? "\r\n" : "\n") : "");
    UserCableFile f = ParseUserCables(text);
    ASSERT_EQ(f.lines.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const int line = static_cast<int>(i + 1);
        auto entry = std::find_if(f.entries.begin(), f.entries.end(),
                                  [&](const CableEntry& e) { return e.line == line; });
        auto problem = std::find_if(f.problems.begin(), f.problems.end(),
                                    [&](const CableLineProblem& p) { return p.line == line; });
        if (rows[i].diel != 0) {
            ASSERT_NE(entry, f.entries.end()) << rows[i].line;
            EXPECT_EQ(entry->diel, rows[i].diel) << rows[i].line;
            EXPECT_TRUE(entry->user);
        } else {
            EXPECT_EQ(entry, f.entries.end()) << rows[i].line;
        }
        if (*rows[i].problem) {
            ASSERT_NE(problem, f.problems.end()) << rows[i].line;
            EXPECT_NE(problem->text.find(rows[i].problem), std::string::npos) << problem->text;
        } else {
            EXPECT_EQ(problem, f.problems.end()) << rows[i].line;
        }
    }
    EXPECT_EQ(f.entries[0].name, "My coax");
    EXPECT_EQ(f.entries[0].note, "measured in the yard");
    EXPECT_EQ(f.entries[3].note, "note; with; semicolons");
    // The report names the file and the line.
    std::vector<std::string> report = CableFileReport("/c/list.txt", f);
    EXPECT_EQ(report.size(), f.problems.size());
    EXPECT_EQ(report[0].rfind("/c/list.txt line 7: ", 0), 0u) << report[0];
    EXPECT_EQ(report[0].back(), '.');
    auto empty = std::find_if(f.problems.begin(), f.problems.end(),
                              [](const CableLineProblem& p) { return p.line == 13; });
    ASSERT_NE(empty, f.problems.end());
    EXPECT_EQ(CableLineText(*empty), "Line 13: no name before the first ';'.");
}

TEST(CableLibrary, AListIsReadAndWrittenBackInTheEncodingItIsIn) {
    test::TempDir dir;
    struct Row {
        const char* rule;
        std::string bytes;   // the file as found
        std::string name;    // its cable as the program holds it (UTF-8)
        bool cp1252;         // read as Windows-1252
        std::string saved;   // the name of a cable saved to it
        std::string written; // the whole file then
    };
    const std::string tuer = "T\xC3\xBCr \xC2\xB5", ohm = "Kabel 75\xCE\xA9";
    const Row rows[] = {
        {"UTF-8", "Kabel \xC2\xB5W; 0.66\n", "Kabel \xC2\xB5W", false, tuer,
         "Kabel \xC2\xB5W; 0.66\nT\xC3\xBCr \xC2\xB5; 0.700\n"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFKabel; 0.66\n", "Kabel", false, tuer,
         "\xEF\xBB\xBFKabel; 0.66\nT\xC3\xBCr \xC2\xB5; 0.700\n"},
        {"Windows-1252 from an older editor", "Kabel \xB5W; 0.66\n", "Kabel \xC2\xB5W", true, tuer,
         "Kabel \xB5W; 0.66\nT\xFCr \xB5; 0.700\n"},
        {"a name Windows-1252 cannot hold turns the whole list UTF-8", "Kabel \xB5W; 0.66\n",
         "Kabel \xC2\xB5W", true, ohm, "Kabel \xC2\xB5W; 0.66\nKabel 75\xCE\xA9; 0.700\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        const std::string path = dir.Path("list.txt");
        test::WriteText(path, r.bytes);
        UserCableFile f = ReadUserCables(path);
        ASSERT_EQ(f.entries.size(), 1u);
        EXPECT_EQ(f.entries[0].name, r.name);
        EXPECT_EQ(f.cp1252, r.cp1252);
        ASSERT_EQ(SaveUserCable(path, f, {r.saved, 700, "", true, 0}), 0);
        auto bytes = test::ReadBytes(path);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.written);
        UserCableFile again = ReadUserCables(path);
        ASSERT_EQ(again.entries.size(), 2u);
        EXPECT_EQ(again.entries[0].name, r.name);
        EXPECT_EQ(again.entries[1].name, r.saved) << "never a \"?\"";
    }
}

TEST(Cp1252, OnlyWellFormedUtf8IsTakenForUtf8) {
    struct Row {
        std::string bytes;
        bool utf8;
    };
    for (const Row& r : {Row{"plain", true}, Row{"\xC2\xB5", true}, Row{"\xE2\x82\xAC", true},
                         Row{"\xF0\x9F\x98\x80", true}, Row{"\xB5", false}, Row{"\xC2", false},
                         Row{"\xC0\xAF", false},                                // overlong
                         Row{"\xED\xA0\x80", false},                            // surrogate
                         Row{"\xF4\x90\x80\x80", false}, Row{"T\xFCr", false}}) // past U+10FFFF
        EXPECT_EQ(IsUtf8(r.bytes), r.utf8) << r.bytes;
}

TEST(CableLibrary, NoLineOfAnyBytesCrashesOrVanishes) {
    std::mt19937 rng(19);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int content = 0;
        for (int l = 0; l < 8; ++l) {
            std::string line;
            int n = static_cast<int>(rng() % 30);
            for (int k = 0; k < n; ++k) {
                char c = static_cast<char>(rng() % 256);
                line += c == '\n' ? ';' : c;
            }
            if (!line.empty() && line.back() == '\r')
                line.back() = 'x';
            text += line + "\n";
            std::string bare = line;
            bare.erase(0, bare.find_first_not_of(" \t\r"));
            content += !bare.empty() && bare[0] != '#';
        }
        UserCableFile f = ParseUserCables(text);
        EXPECT_EQ(static_cast<int>(f.entries.size() + f.problems.size()), content) << text;
        for (const CableEntry& e : f.entries)
            EXPECT_TRUE(e.diel >= 300 && e.diel <= 999);
    }
}

TEST(CableLibrary, SavingKeepsEveryOtherLineAndReplacesASameNamedCable) {
    test::TempDir dir;
    std::string path = dir.Path("conf/r470-cables.txt"); // the folder does not exist yet
    UserCableFile f = ReadUserCables(path);
    ASSERT_EQ(f.error, 0) << "no list yet is an empty list";
    ASSERT_EQ(SaveUserCable(path, f, {"Yard drum", 671, "measured", true, 0}), 0);
    EXPECT_EQ(Read(path).substr(0, 1), "#") << "a new file says its form first";

    const std::string handEdited = Read(path) + "broken line\n# mine\nOld; 0.6\n";
    test::WriteText(path, handEdited);
    f = ReadUserCables(path);
    ASSERT_EQ(f.problems.size(), 1u);
    ASSERT_EQ(SaveUserCable(path, f, {"YARD DRUM ", 702, "again", true, 0}), 0);
    ASSERT_EQ(SaveUserCable(path, f, {"New", 555, "", true, 0}), 0);
    std::string now = Read(path);
    EXPECT_NE(now.find("broken line\n# mine\nOld; 0.6\n"), std::string::npos) << now;
    EXPECT_NE(now.find("YARD DRUM; 0.702; again\n"), std::string::npos) << now;
    EXPECT_EQ(now.find("0.671"), std::string::npos) << "replaced where it stood";
    EXPECT_EQ(now.substr(now.size() - 11), "New; 0.555\n");

    CableLibrary lib(ReadUserCables(path));
    ASSERT_NE(lib.Find("yard drum"), nullptr);
    EXPECT_EQ(lib.Find("yard drum")->diel, 702);
    EXPECT_EQ(lib.Find("power xlpe")->name, "Power XLPE");
    EXPECT_EQ(lib.Find("XLPE"), nullptr) << "a part of a name is not the name";
}

TEST(CableLibrary, AListThatCannotBeReadIsNeverWrittenOver) {
    test::TempDir dir;
    std::string path = dir.Path("r470-cables.txt");
    // Longer than any cable list: some other file under this name.
    const std::string text = "Precious; 0.7\n" + std::string(1 << 20, '#');
    test::WriteText(path, text);
    UserCableFile f = ReadUserCables(path);
    EXPECT_NE(f.error, 0);
    EXPECT_NE(CableFileErrorText(f.error), "");
    EXPECT_NE(SaveUserCable(path, f, {"Other", 600, "", true, 0}), 0);
    EXPECT_EQ(Read(path), text);
    EXPECT_EQ(CableFileReport(path, f).size(), 1u);
}

} // namespace
} // namespace r470
