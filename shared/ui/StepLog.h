#pragma once

#include "shared/core/WindowCloudLog.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Tunewell {

// A window's log memo as its cloud steps see it. On the UI thread a line goes straight to the
// memo; a step running on a worker writes into a buffer instead (no widget is touched off the
// UI thread), and the buffer is handed to the memo, in order, when the step is back.
class StepLog : public IWindowCloudLog {
public:
    // Memo is the window's log; the thread creating this one is taken as the UI thread.
    explicit StepLog(IWindowCloudLog &Memo);

    void AddLine(const std::string &Line) override;
    void Clear() override;
    // Hands what the last step wrote to the memo; on the UI thread only.
    void Deliver();

private:
    struct Entry {
        bool Clear;
        std::string Line;
    };
    bool OnUiThread() const { return std::this_thread::get_id() == UiThread_; }

    IWindowCloudLog &Memo_;
    const std::thread::id UiThread_;
    std::mutex Lock_;
    std::vector<Entry> Pending_;
};

} // namespace Tunewell
