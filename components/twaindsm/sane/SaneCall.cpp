#include "SaneCall.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <mutex>
#include <thread>

namespace twainsane {

namespace {

std::mutex g_oneCall;  // SANE takes one call at a time
int g_waiting = 0;     // calls the application's thread waits for

} // namespace

void RunOffThread(const std::function<void()> &work)
{
    if (!QCoreApplication::instance()) {
        std::lock_guard<std::mutex> lock(g_oneCall);
        work();
        return;
    }
    ++g_waiting;
    QEventLoop loop;
    std::thread worker([&] {
        {
            std::lock_guard<std::mutex> lock(g_oneCall);
            work();
        }
        // Queued to the loop's thread: delivered only once the loop runs.
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    --g_waiting;
}

void RunAlone(const std::function<void()> &work)
{
    std::lock_guard<std::mutex> lock(g_oneCall);
    work();
}

bool CallRunning()
{
    return g_waiting > 0;
}

} // namespace twainsane
