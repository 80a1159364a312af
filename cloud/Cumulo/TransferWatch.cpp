#include "Cumulo/TransferWatch.h"

namespace Cumulo {

namespace {

std::string Milliseconds(std::chrono::milliseconds Duration) {
    return std::to_string(Duration.count()) + " ms";
}

} // namespace

TTransferWatch::TTransferWatch(const TTransferLimits &Limits, bool Small, TTime Start)
    : fLimits(Limits), fSmall(Small), fStart(Start) {
    fProgress.emplace_back(Start, 0);
}

std::optional<std::string> TTransferWatch::Check(TTime Now, std::uint64_t BytesMoved, bool RequestSent,
                                                 bool AnswerBegun) {
    if (fSmall && Now - fStart >= fLimits.SmallRequestDeadline)
        return "Timed out: no complete answer within " + Milliseconds(fLimits.SmallRequestDeadline);
    if (RequestSent && !fSentAt)
        fSentAt = Now;
    if (!AnswerBegun && fSentAt && Now - *fSentAt >= fLimits.FirstByte)
        return "Timed out: no answer within " + Milliseconds(fLimits.FirstByte);
    return TooSlow(Now, BytesMoved);
}

std::optional<std::string> TTransferWatch::TooSlow(TTime Now, std::uint64_t BytesMoved) {
    const auto window = fLimits.ProgressWindow;
    // One sample per twentieth of the window is enough to judge it.
    if (Now - fProgress.back().first >= window / 20)
        fProgress.emplace_back(Now, BytesMoved);
    // The newest sample that is a whole window old is where the window starts.
    while (fProgress.size() > 1 && Now - fProgress[1].first >= window)
        fProgress.pop_front();
    if (Now - fProgress.front().first < window)
        return std::nullopt;
    const std::uint64_t least = fLimits.SlowestProgress * static_cast<std::uint64_t>(window.count()) / 1000;
    if (BytesMoved - fProgress.front().second >= least)
        return std::nullopt;
    return "Timed out: fewer than " + std::to_string(least) + " bytes moved within " + Milliseconds(window);
}

} // namespace Cumulo
