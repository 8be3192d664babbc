#pragma once
// Handle to one console variable owned by the host.

#include <functional>
#include <string>

namespace sim {
struct CVarRecord;
}

class CVarWrapper {
 public:
  using ChangedCallback = std::function<void(std::string, CVarWrapper)>;

  CVarWrapper() = default;
  explicit CVarWrapper(sim::CVarRecord* record) : record_(record) {}

  // False for a handle of a variable that was never registered.
  explicit operator bool() const { return record_ != nullptr; }

  // Numeric reads parse the leading number of the stored text; text that does
  // not start with a number reads as 0. Integers truncate toward zero.
  int getIntValue() const;
  float getFloatValue() const;
  bool getBoolValue() const;
  std::string getStringValue() const;
  std::string getName() const;

  // Writes clamp to the registered bounds, then run every value-changed
  // callback in the order they were added.
  void setValue(int value);
  void setValue(float value);
  void setValue(std::string value);

  void addOnValueChanged(ChangedCallback callback);

 private:
  sim::CVarRecord* record_ = nullptr;
};
