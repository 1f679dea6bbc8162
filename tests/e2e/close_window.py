"""Asks every top-level window that takes WM_DELETE_WINDOW to close, the way
a window manager does when the user clicks the close button: a
WM_PROTOCOLS client message sent to the window. Prints how many were asked."""
from Xlib import X, display, protocol

conn = display.Display()
protocols = conn.intern_atom("WM_PROTOCOLS")
delete = conn.intern_atom("WM_DELETE_WINDOW")
asked = 0
for window in conn.screen().root.query_tree().children:
    if delete in (window.get_wm_protocols() or []):
        message = protocol.event.ClientMessage(
            window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        asked += 1
conn.flush()
print(asked)
