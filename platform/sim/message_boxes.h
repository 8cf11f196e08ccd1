// The simulated desktop's message boxes: each box shown is recorded, and the
// user's answers are given in advance.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/message_boxes.h"
#include "platform/sim/faults.h"

namespace tb::sim {

struct ShownBox {
  std::u16string caption;
  std::u16string text;
  std::uint32_t type = 0;
  int answer = 0;
};

class SimMessageBoxes final : public platform::MessageBoxes {
 public:
  explicit SimMessageBoxes(Faults& faults) : faults_(faults) {}

  int MessageBox(platform::Hwnd owner, const std::u16string& text, const std::u16string& caption,
                 std::uint32_t type) override;

  // The user's answer to the next box (IDOK, IDYES, IDNO). A box with no
  // answer waiting is closed with its first button.
  void Answer(int button) { answers_.push_back(button); }
  [[nodiscard]] const std::vector<ShownBox>& Shown() const { return shown_; }
  // Drops the record of the boxes shown (a long run keeps none).
  void ForgetRecords() {
    shown_.clear();
    shown_.shrink_to_fit();
  }

 private:
  Faults& faults_;
  std::deque<int> answers_;
  std::vector<ShownBox> shown_;
};

}  // namespace tb::sim
