#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace zenvo {

class BusyIndicator;
class Grid;

// A background call: Async(work)->Await(continuation). The work runs on a thread of the shared
// pool; when it has ended, the continuation runs on the user-interface thread at the event
// loop's next pass (never inside Await, also when the work was quicker), and after it an
// exception the work threw goes to the general error report. There is no cancellation.
class IAwait {
public:
    virtual ~IAwait() = default;
    virtual void Await(std::function<void()> continuation) = 0;
};

// Nothing runs until Await is called on the result.
std::shared_ptr<IAwait> Async(std::function<void()> work);

// Runs fn on the user-interface thread and waits until it has finished (directly when called
// there). An exception fn throws is rethrown to the caller.
void ArayuzdeCalistir(const std::function<void()> &fn);

// The pattern every loading tab follows around a background load of one table:
// before, the busy animation is started, `kontrol` disabled and the grid detached; the work
// returns the failure flag (true: the connection did not open); the continuation re-attaches
// the grid, enables the control, stops the animation, runs `bitir` and, on failure, shows the
// connection message. A second load of the same table while one runs is not started: the
// result is then false.
struct TabloYukleme {
    const void *tablo = nullptr;  // the table being loaded: one load per table at a time
    BusyIndicator *gif = nullptr; // the tab's busy animation
    QWidget *kontrol = nullptr;   // disabled meanwhile (the grid, or the search box)
    Grid *grid = nullptr;         // detached meanwhile (may be null)
    std::function<bool()> yukle;  // worker thread: fills the table, returns the failure flag
    std::function<void(bool hata)> bitir; // user-interface thread: the tab's own finishing
};
bool TabloYukle(TabloYukleme y);
// True while a load of that table runs.
bool YuklemeSuruyor(const void *tablo);

} // namespace zenvo
