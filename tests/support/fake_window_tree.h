// A window tree made up in memory for testing the chat bridge: windows with
// classes in child order, every call recorded, delivery under the test's
// control. It answers as the window system does: class names compare without
// regard to case, parent 0 is the desktop, a child that is not one of the
// parent's ends the search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "chat/window_tree.h"

namespace fader::test {

class FakeWindowTree : public fader::WindowTree {
 public:
  struct Call {
    enum Kind { kTopLevel, kChild, kSend };
    explicit Call(Kind k) : kind(k) {}
    // A call as it is made, its outcome not yet set.
    static Call TopLevel(std::string_view cls) {
      Call c(kTopLevel);
      c.cls = std::string(cls);
      return c;
    }
    static Call Child(Handle parent, Handle after, std::string_view cls) {
      Call c(kChild);
      c.parent = parent;
      c.after = after;
      c.cls = std::string(cls);
      return c;
    }
    static Call Sent(Handle window, const fader::Message& msg) {
      Call c(kSend);
      c.window = window;
      c.id = msg.id;
      c.wparam = msg.wparam;
      c.lparam = msg.lparam;
      c.text = std::u16string(msg.text);
      return c;
    }
    Kind kind;
    Handle parent = 0;  // kChild
    Handle after = 0;   // kChild
    std::string cls;    // kTopLevel, kChild
    Handle result = 0;  // the handle a search returned
    Handle window = 0;  // kSend
    std::uint32_t id = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    std::u16string text;  // a copy: the view dies with the call
    Delivery delivery = Delivery::kNotDelivered;
  };

  // A new window at the end of parent's child order (0: a top-level window).
  Handle Add(Handle parent, std::string cls) {
    const Handle h = next_++;
    windows_[h] = Window{parent, std::move(cls)};
    children_[parent].push_back(h);
    return h;
  }

  void Destroy(Handle h) {
    auto it = windows_.find(h);
    if (it == windows_.end()) return;
    for (Handle child : std::vector<Handle>(children_[h])) Destroy(child);
    children_.erase(h);
    auto& siblings = children_[it->second.parent];
    std::erase(siblings, h);
    windows_.erase(it);
  }

  bool Exists(Handle h) const { return windows_.count(h) != 0; }

  // Messages with this id time out: the window has them but answers late.
  void AnswerLate(std::uint32_t id) { late_.insert(id); }
  // Messages with this id are not delivered, whatever their target.
  void Refuse(std::uint32_t id) { refused_.insert(id); }
  // Runs before each call is answered, with that call, so a test can change
  // the tree at a chosen point of a walk.
  std::function<void(const Call&)> before_call;

  Handle FindTopLevel(std::string_view cls) override {
    Call c = Call::TopLevel(cls);
    Begin(c);
    c.result = Search(0, 0, cls);
    calls.push_back(c);
    return c.result;
  }

  Handle FindChild(Handle parent, Handle after, std::string_view cls) override {
    Call c = Call::Child(parent, after, cls);
    Begin(c);
    c.result = (parent != 0 && !Exists(parent)) ? 0 : Search(parent, after, cls);
    calls.push_back(c);
    return c.result;
  }

  Delivery Send(Handle window, const fader::Message& msg) override {
    Call c = Call::Sent(window, msg);
    Begin(c);
    if (!Exists(window) || refused_.count(msg.id)) {
      c.delivery = Delivery::kNotDelivered;
    } else if (late_.count(msg.id)) {
      c.delivery = Delivery::kTimedOut;
    } else {
      c.delivery = Delivery::kAnswered;
    }
    calls.push_back(c);
    return c.delivery;
  }

  std::vector<Call> Sends() const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.kind == Call::kSend) out.push_back(c);
    return out;
  }

  std::vector<Call> calls;

  // Class names as the window system compares them: without regard to case.
  static bool SameClass(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; };
      if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
  }

 private:
  struct Window {
    Handle parent;
    std::string cls;
  };

  void Begin(const Call& c) {
    if (before_call) before_call(c);
  }

  Handle Search(Handle parent, Handle after, std::string_view cls) const {
    auto it = children_.find(parent);
    if (it == children_.end()) return 0;
    const std::vector<Handle>& kids = it->second;
    std::size_t start = 0;
    if (after != 0) {
      std::size_t i = 0;
      while (i < kids.size() && kids[i] != after) ++i;
      if (i == kids.size()) return 0;  // not a child of parent
      start = i + 1;
    }
    for (std::size_t i = start; i < kids.size(); ++i)
      if (SameClass(windows_.at(kids[i]).cls, cls)) return kids[i];
    return 0;
  }

  Handle next_ = 0x100;
  std::map<Handle, Window> windows_;
  std::map<Handle, std::vector<Handle>> children_;
  std::set<std::uint32_t> late_;
  std::set<std::uint32_t> refused_;
};

}  // namespace fader::test
