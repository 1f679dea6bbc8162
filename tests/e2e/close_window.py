"""Asks every top-level window that takes WM_DELETE_WINDOW to close, the way
a window manager does when the user clicks the close button: a
WM_PROTOCOLS client message sent to the window. Prints how many were asked.

It waits until the server has handled the requests: a server that has not
read them yet when this process ends drops them with the connection, and on
a busy machine the program then never sees the request.
E2E_CLOSE_STALL=PID stops that process (the X server) before the requests
leave, as a busy machine can, for the test of that wait; the caller lets it
go on."""
import os
import signal

from Xlib import X, display, protocol

conn = display.Display()
protocols = conn.intern_atom("WM_PROTOCOLS")
delete = conn.intern_atom("WM_DELETE_WINDOW")
# Every question first, so that no reply the script waits for carries the
# requests to the server before the wait below.
targets = [window for window in conn.screen().root.query_tree().children
           if delete in (window.get_wm_protocols() or [])]
if os.environ.get("E2E_CLOSE_STALL"):
    os.kill(int(os.environ["E2E_CLOSE_STALL"]), signal.SIGSTOP)
for window in targets:
    message = protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
conn.sync()
print(len(targets))
