// The import's "File in archive": one batch under each memory's own cable ID, the user asked
// for a missing one, and on a failure nothing filed and the waveforms offered as files.
#include "archive/import_filing.h"
#include "support/archive_fixture.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace r470 {
namespace {

// Answers from a script: nothing is a cancel. Records each question with its title.
struct ScriptedQuestions : FilingQuestions {
    std::deque<std::optional<FileInArchiveQuestion>> answers;
    std::vector<std::pair<FileInArchiveQuestion, std::string>> asked;
    std::optional<FileInArchiveQuestion> AskFiling(const FileInArchiveQuestion& q,
                                                   const std::string& title, bool) override {
        asked.push_back({q, title});
        auto a = answers.at(0);
        answers.pop_front();
        return a;
    }
};

FileInArchiveQuestion Site(const std::string& site, const std::string& cable = "") {
    FileInArchiveQuestion q;
    q.site = site;
    q.cable = cable;
    return q;
}

ImportedWaveform Memory(int memNo, unsigned seed, const std::string& cable) {
    return {memNo, ImportFileName("MEM.KEL", memNo), cable,
            test::FileBytes(test::CableTrace(seed, 0, cable))};
}

struct ImportFiling : test::ArchiveFixture {
    test::ScriptedPrompts prompts;
    ScriptedQuestions questions;
    std::string path = db;
    ArchiveImportFiler filer{prompts, questions, [this] { return path; }};

    std::vector<std::string> Filed() {
        std::vector<std::string> out;
        for (const ArchiveTest& t : OpenDb()->List({}))
            out.push_back(t.site + "/" + t.cable + "/" + t.fileName);
        return out;
    }
};

TEST_F(ImportFiling, EachMemoryUnderItsOwnCableAndTheCountsSaid) {
    std::vector<ImportedWaveform> batch = {Memory(3, 1, "FEEDER 1"), Memory(7, 2, "PUMP")};
    questions.answers = {Site("North"), Site("North")};
    prompts.answers = {IdOk, IdOk};
    EXPECT_EQ(filer.File(batch), ImportFiler::Done);
    EXPECT_EQ(questions.asked[0].second, "File 2 memories in archive");
    EXPECT_EQ(prompts.boxes[0].text, "2 tests filed, 0 already filed.");
    EXPECT_EQ(Filed(),
              (std::vector<std::string>{"North/FEEDER 1/MEM03.KEL", "North/PUMP/MEM07.KEL"}));
    filer.File(batch); // the site offered as last given; nothing filed twice
    EXPECT_EQ(questions.asked[1].first.site, "North");
    EXPECT_EQ(prompts.boxes[1].text, "0 tests filed, 2 already filed.");
    // Cancelled: asked whether to abandon; No asks again, Yes stops.
    questions.answers = {std::nullopt, std::nullopt};
    prompts.answers = {IdNo, IdYes};
    EXPECT_EQ(filer.File({Memory(1, 3, "A")}), ImportFiler::Done);
    EXPECT_EQ(prompts.boxes[3].text, "Abandon data transfer");
    EXPECT_EQ(questions.asked[3].second, "File memory 1 in archive");
    EXPECT_EQ(Filed().size(), 2u);
}

TEST_F(ImportFiling, AMemoryWithoutCableIdIsAskedForOneOrLeftOut) {
    questions.answers = {Site("South"), Site("South", "SPARE"), std::nullopt};
    prompts.answers = {IdOk};
    filer.File({Memory(2, 1, "FEEDER 1"), Memory(9, 2, ""), Memory(11, 3, "")});
    EXPECT_EQ(questions.asked.at(1).second, "Memory 9 has no cable ID");
    EXPECT_EQ(questions.asked[1].first.site, "South");
    EXPECT_EQ(prompts.boxes[0].text, "2 tests filed, 0 already filed.\r\n"
                                     "Memory 11: not filed, no cable ID was given.");
    EXPECT_EQ(Filed(),
              (std::vector<std::string>{"South/FEEDER 1/MEM02.KEL", "South/SPARE/MEM09.KEL"}));
}

TEST_F(ImportFiling, AFailureFilesNothingAndOffersFiles) {
    struct Case {
        std::function<void(const std::string&)> spoil;
        const char* why;
        int answer;
    };
    std::vector<Case> cases = {
        {[](const std::string& p) { test::WriteText(p, std::string(4096, 'x')); },
         "not a cable archive", IdNo},
#ifndef _WIN32
        {[](const std::string& p) {
             std::string e;
             std::vector<FilingOutcome> out;
             CableArchive::Open(p, e)->File(std::vector{test::Filing(test::CableTrace(5))}, out);
             ::chmod(p.c_str(), 0444);
         },
         "read-only", IdYes},
#endif
    };
    for (const Case& c : cases) {
        path = dir.Path("spoilt" + std::to_string(prompts.boxes.size()));
        c.spoil(path);
        questions.answers = {Site("")};
        prompts.answers = {c.answer};
        EXPECT_EQ(filer.File({Memory(4, 1, "F"), Memory(5, 2, "F")}),
                  c.answer == IdYes ? ImportFiler::WriteFiles : ImportFiler::Done);
        const std::string& told = prompts.boxes.back().text;
        EXPECT_EQ(told.rfind("Nothing was filed in the cable archive.\r\n", 0), 0u) << told;
        EXPECT_NE(told.find(c.why), std::string::npos) << told;
        EXPECT_TRUE(told.ends_with("Write the waveforms as files instead ?")) << told;
        EXPECT_LE(told.size(), 255u);
    }
}

} // namespace
} // namespace r470
