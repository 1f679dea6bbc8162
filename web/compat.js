// What the desktop's code asks of emscripten's SDL 1.2 and OpenGL beyond what
// they give, so that the same code runs in the page unchanged.
mergeInto(LibraryManager.library, {
  // The punctuation keys the browser reports by its own codes (Minus and
  // Equal are bound by default): as the characters SDL names them by, on a
  // US layout, as on the desktop.
  $sdlCompatKeys__deps: ['$SDL'],
  $sdlCompatKeys__postset: 'sdlCompatKeys();',
  $sdlCompatKeys: function() {
    var keys = {173: 45, 189: 45, 61: 61, 187: 61, 59: 59, 186: 59, 188: 44, 190: 46, 191: 47,
                192: 96, 219: 91, 220: 92, 221: 93, 222: 39};
    for (var code in keys) SDL.keyCodes[code] = keys[code];
  },
  SDL_Init__deps: ['$zeroMemory', '$sdlCompatKeys'],

  // OpenGL: the current colour read back (the grid keeps it for the shapes
  // after it) and saved and restored around the obstacle being drawn.
  glGetFloatv__deps: ['$emscriptenWebGLGet', '$GLImmediate'],
  glGetFloatv: function(name, p) {
    if (name == 0xB00 /* GL_CURRENT_COLOR */) {
      HEAPF32.set(GLImmediate.clientColor, p >> 2);
      return;
    }
    emscriptenWebGLGet(name, p, {{{ cDefine('EM_FUNC_SIG_PARAM_F') }}});
  },

  // Only the current colour (GL_CURRENT_BIT) is ever saved.
  $glCompatSaved: [],
  glPushAttrib__deps: ['$glCompatSaved', '$GLImmediate'],
  glPushAttrib: function(mask) {
    glCompatSaved.push(Array.prototype.slice.call(GLImmediate.clientColor));
  },
  glPopAttrib__deps: ['$glCompatSaved', 'glColor4f'],
  glPopAttrib: function() {
    var colour = glCompatSaved.pop();
    if (colour) _glColor4f(colour[0], colour[1], colour[2], colour[3]);
  },
});
