#pragma once

// SDL 1.2 comes as the classic library or as the compatibility implementation
// on top of SDL 2, and a system may load either. Where the two report the
// same input differently, the program takes it as the classic library does.
namespace sdlCompat {

// The key code the classic library gives for the key that produced `code`:
// the compatibility implementation reports the Super (Windows) keys as Meta.
int classicKeyCode(int code);

// A recording holds key codes as the classic library numbers them (one past
// its last key binds nothing), so that a recording made with one
// implementation replays with another: this platform's key in that
// numbering, and back. A key the other numbering has not binds nothing.
const int kClassicUnbound = 323;
int recordedKeyCode(int key);
int platformKeyCode(int recorded);

}  // namespace sdlCompat
