#include "shared/ui/StepLog.h"

namespace Tunewell {

StepLog::StepLog(IWindowCloudLog &Memo) : Memo_(Memo), UiThread_(std::this_thread::get_id()) {}

void StepLog::AddLine(const std::string &Line) {
    if (OnUiThread()) {
        Memo_.AddLine(Line);
        return;
    }
    const std::lock_guard lock(Lock_);
    Pending_.push_back({false, Line});
}

void StepLog::Clear() {
    if (OnUiThread()) {
        Memo_.Clear();
        return;
    }
    const std::lock_guard lock(Lock_);
    Pending_.push_back({true, {}});
}

void StepLog::Deliver() {
    std::vector<Entry> pending;
    {
        const std::lock_guard lock(Lock_);
        pending.swap(Pending_);
    }
    for (const auto &entry : pending) {
        if (entry.Clear)
            Memo_.Clear();
        else
            Memo_.AddLine(entry.Line);
    }
}

} // namespace Tunewell
