// Toolkit-independent parts of the control contract: typed property access, the event object
// and the handler registry.
#include <map>

#include "runtime/ui.h"

namespace kesto::ui {

namespace {
template <class T>
T ValueAs(const Value& value) {
  if (const T* v = std::get_if<T>(&value)) return *v;
  return T{};
}
}  // namespace

int IntOf(const Value& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  return ValueAs<int>(value);
}
bool BoolOf(const Value& value) {
  if (const int* i = std::get_if<int>(&value)) return *i != 0;
  return ValueAs<bool>(value);
}
Text TextOf(const Value& value) {
  return ValueAs<Text>(value);
}
Bytes BytesOf(const Value& value) {
  return ValueAs<Bytes>(value);
}

int GetInt(const Ref& ref, int index) {
  return ValueAs<int>(GetProperty(ref, index));
}
bool GetBool(const Ref& ref, int index) {
  return ValueAs<bool>(GetProperty(ref, index));
}
Text GetText(const Ref& ref, int index) {
  return ValueAs<Text>(GetProperty(ref, index));
}
Bytes GetBytes(const Ref& ref, int index) {
  return ValueAs<Bytes>(GetProperty(ref, index));
}

void Object::SetText(const Text& name, const Text& value) {
  if (!data_) data_ = std::make_shared<Data>();
  data_->texts[name] = value;
}

void Object::SetObject(const Text& name, const Object& value) {
  if (!data_) data_ = std::make_shared<Data>();
  data_->objects[name] = value;
}

// A property the object does not have reads as the empty text or the empty object.
Text Object::ReadText(const Text& name) const {
  if (!data_) return {};
  auto it = data_->texts.find(name);
  return it == data_->texts.end() ? Text{} : it->second;
}

Object Object::ReadObject(const Text& name) const {
  if (!data_) return {};
  auto it = data_->objects.find(name);
  return it == data_->objects.end() ? Object{} : it->second;
}

Object ObjectReadObject(const Object& object, const Text& property) {
  return object.ReadObject(property);
}
Text ObjectReadText(const Object& object, const Text& property) {
  return object.ReadText(property);
}
void ObjectClear(Object& object) {
  object.Clear();
}

namespace {
std::map<Text, Handler>& Handlers() {
  static std::map<Text, Handler> handlers;
  return handlers;
}
}  // namespace

void RegisterHandler(const Text& name, Handler handler) {
  Handlers()[name] = handler;
}

Handler FindHandler(const Text& name) {
  auto it = Handlers().find(name);
  return it == Handlers().end() ? nullptr : it->second;
}

}  // namespace kesto::ui
