// The table behind the integer internet handles. Closing a handle closes the handles opened
// through it, as a WinInet session takes its connections and requests along.
#include <map>
#include <mutex>

#include "runtime/posix/inet_backend.h"

namespace kesto::inet::backend {

namespace {

struct Entry {
  Handle parent = 0;
  std::shared_ptr<Object> object;
};

struct Table {
  std::mutex mutex;
  std::map<Handle, Entry> entries;
  Handle next = 1;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

Handle AddObject(Handle parent, std::shared_ptr<Object> object) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  Handle handle = table.next++;
  table.entries[handle] = Entry{parent, std::move(object)};
  return handle;
}

std::shared_ptr<Object> FindObject(Handle handle) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  auto it = table.entries.find(handle);
  return it == table.entries.end() ? nullptr : it->second.object;
}

bool RemoveObject(Handle handle) {
  // Objects are released after the lock: a request's transfer may take a while to end.
  std::vector<std::shared_ptr<Object>> released;
  {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    if (!table.entries.count(handle)) return false;
    std::vector<Handle> pending{handle};
    while (!pending.empty()) {
      Handle current = pending.back();
      pending.pop_back();
      auto it = table.entries.find(current);
      if (it == table.entries.end()) continue;
      it->second.object->Close();
      released.push_back(std::move(it->second.object));
      table.entries.erase(it);
      for (const auto& [child, entry] : table.entries) {
        if (entry.parent == current) pending.push_back(child);
      }
    }
  }
  return true;
}

}  // namespace kesto::inet::backend
