#include "runtime/gtk/ui_thread.h"

#include <glib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "runtime/toolkit.h"

namespace kesto::gtk {

namespace {

std::atomic<std::thread::id> ui_thread{};

struct Handover {
  const std::function<void()>* work;
  std::mutex mutex;
  std::condition_variable done_signal;
  bool done = false;
};

gboolean RunHandover(gpointer data) {
  auto* handover = static_cast<Handover*>(data);
  (*handover->work)();
  std::lock_guard lock(handover->mutex);
  handover->done = true;
  handover->done_signal.notify_one();
  return G_SOURCE_REMOVE;
}

gboolean RunPosted(gpointer data) {
  auto* work = static_cast<std::function<void()>*>(data);
  (*work)();
  delete work;
  return G_SOURCE_REMOVE;
}

}  // namespace

void MarkUiThread() {
  ui_thread = std::this_thread::get_id();
}

bool IsUiThread() {
  return ui_thread.load() == std::this_thread::get_id();
}

bool HasUiThread() {
  return ui_thread.load() != std::thread::id{};
}

void RunOnUiThread(const std::function<void()>& work) {
  if (IsUiThread()) {
    work();
    return;
  }
  // Not g_main_context_invoke: from a thread of its own it may run the work right there when
  // the loop happens to be idle, and GTK must only ever be touched on the user-interface thread.
  Handover handover{&work, {}, {}, false};
  g_idle_add_full(G_PRIORITY_DEFAULT, RunHandover, &handover, nullptr);
  std::unique_lock lock(handover.mutex);
  handover.done_signal.wait(lock, [&] { return handover.done; });
}

void PostToUiThread(std::function<void()> work) {
  g_idle_add_full(G_PRIORITY_DEFAULT, RunPosted, new std::function<void()>(std::move(work)),
                  nullptr);
}

}  // namespace kesto::gtk

namespace kesto::toolkit {

bool OnUiThread() {
  return !gtk::HasUiThread() || gtk::IsUiThread();
}

void PostToUiThread(std::function<void()> work) {
  gtk::PostToUiThread(std::move(work));
}

}  // namespace kesto::toolkit
