// Answers for an import without a person: no comments, and every received memory kept.
#pragma once

#include "instrument/import.h"
#include "waveform/comments.h"

#include <optional>
#include <string>
#include <vector>

namespace r470::test {

class NoComments : public CommentDialogs {
  public:
    CommentsResult EditComments(CommentSession&) override { return CommentsResult::Cancel; }
    bool AdditionalComments(const std::string&, std::string&) override { return false; }
    int ChooseWaveform(const std::vector<std::string>&, int) override { return -1; }
    CommentOption CommentOptions() override { return CommentOption::None; }
};

class ChooseAll : public MemoryChooser {
  public:
    std::optional<MemoryFlags> ChooseMem(const MemoryFlags& received) override { return received; }
};

} // namespace r470::test
