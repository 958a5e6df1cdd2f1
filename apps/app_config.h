// AppConfig: the one object over qmztx.ini, the file the platform shares with its tools and the
// updater. Every method finds the file afresh from the current directory before touching it,
// and reads or writes it at once; nothing is cached besides the path.
#pragma once

#include <memory>

#include "runtime/core.h"

namespace kesto {

class AppConfig {
 public:
  AppConfig() = default;

  // The operations in their table order.
  virtual void Destroy();
  virtual std::unique_ptr<AppConfig> Clone();
  // Keys of section "jb" as the file lists them (empty keys included); false, with `keys`
  // left empty, when the file does not exist.
  virtual bool ListHandleKeys(Array<Text>& keys);
  virtual Text GetConfigPath();
  // Asks the window recorded under `key` to close, if it still exists.
  virtual void CloseRegisteredWindow(const Text& key);
  virtual void PostClose(int handle);
  virtual void SetWindowHandle(const Text& key, int handle);
  // The handle recorded under `key` in section "jb"; 0 when missing.
  virtual int GetWindowHandle(const Text& key);
  virtual Text ReadWmValue(const Text& key);
  virtual void WriteWmValue(const Text& key, const Text& value);
  virtual Text GetRun();
  virtual void SetRun(const Text& value);
  virtual Text GetName();
  virtual void SetName(const Text& value);
  // "<current directory>\qmztx.ini", or two folders up when the current directory is a folder
  // named "app" or lies below one (a tool running in app\<tool> finds the platform's file). Only
  // the whole name counts: a platform under C:\Users\apple keeps its file beside it.
  virtual Text UpdateConfigPath();
  virtual void AddAppName(const Text& name);
  virtual Text GetAppNames();

  virtual ~AppConfig() = default;

  // The path found by the last method call; empty before the first.
  const Text& configPath() const { return configPath_; }

 private:
  Text configPath_;
};

}  // namespace kesto
