// A real main window over a fresh settings folder, with scripted prompts: how most window
// tests begin and end.
#pragma once

#include "main/main_form.h"
#include "support/temp_dir.h"

#include <memory>

namespace r470::test {

inline std::unique_ptr<TMainForm> ShowMainForm(const TempDir& dir, Prompts& prompts) {
    auto form = std::make_unique<TMainForm>(
        AppPaths{dir.Path("r470.SET"), dir.Path("R470.INI"), dir.Path()}, &prompts);
    form->show();
    return form;
}

// The slots emptied first, so that closing asks nothing.
inline void CloseMainForm(std::unique_ptr<TMainForm>& form) {
    form->session().set = WaveformSet{};
    form.reset();
}

} // namespace r470::test
