#pragma once
// Runs an action when the scope is left, by any road, an exception included, unless released:
// the way to undo a half-done change that must not outlive a failure.

#include <utility>

namespace common {

template <class Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() {
    if (armed_) action_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // The change is done: nothing is undone.
  void Release() { armed_ = false; }

 private:
  Action action_;
  bool armed_ = true;
};

}  // namespace common
