#include "graphics/BackgroundRequest.h"

#include "framework/WinControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/MessageQueue.h"

namespace vandrel {
const TSeBackgroundRequest* BackgroundRequestOf(const TMessage& message) {
  if (message.Msg != WM_ERASEBKGND || message.LParam == 0) return nullptr;
  return reinterpret_cast<const TSeBackgroundRequest*>(message.LParam);
}

TMessage MakeBackgroundRequest(HDC dc, const TSeBackgroundRequest& request) {
  return TMessage{WM_ERASEBKGND, HdcToWParam(dc), reinterpret_cast<LPARAM>(&request), 0};
}

void SendBackgroundRequest(TWinControl& parent, HDC dc, const TSeBackgroundRequest& request, bool throughWindow) {
  TMessage m = MakeBackgroundRequest(dc, request);
  if (throughWindow)
    SendMessage(parent.Handle(), m.Msg, m.WParam, m.LParam);
  else
    parent.Dispatch(m);
}

}  // namespace vandrel
