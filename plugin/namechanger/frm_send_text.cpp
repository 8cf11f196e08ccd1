#include "plugin/namechanger/frm_send_text.h"

namespace tb {

void FrmSendText::Form_Load() { oMessengerAPI_ = messengerApi_.NewMessenger(); }

}  // namespace tb
