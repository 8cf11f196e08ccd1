#include "platform/sim/message_boxes.h"

namespace tb::sim {

int SimMessageBoxes::MessageBox(platform::Hwnd /*owner*/, const std::u16string& text,
                                const std::u16string& caption, std::uint32_t type) {
  if (faults_.Enter("MessageBoxW")) {
    return 0;
  }
  int answer = (type & 0xFU) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  shown_.push_back(ShownBox{caption, text, type, answer});
  return answer;
}

}  // namespace tb::sim
