#pragma once

#include <functional>

namespace vq {
class HostConsole;
}
class TDataModule2;
class TForm1;
class TForm3;
class TForm5;

namespace vq {

// The four windows of a running presenter.
struct PresenterWindows {
    TForm1* form1 = nullptr;
    TDataModule2* dataModule2 = nullptr;
    TForm3* form3 = nullptr;
    TForm5* form5 = nullptr;
    // The host's console, shown or not.
    HostConsole* console = nullptr;
};

// The presenter's start: application title, the windows in their order, then the event loop,
// which shows the main screen and runs its set-up. Returns the program's exit code.
// `beforeShow`, when given, sees the created windows just before the main screen is shown;
// the presenter itself passes nothing (the benchmarks watch the start through it).
int runPresenter(int argc, char** argv,
                 const std::function<void(const PresenterWindows&)>& beforeShow = {});

} // namespace vq
