// What the desktop's drawing asks of OpenGL beyond emscripten's emulation of
// it: convex polygons, the current colour read back (the grid keeps it for
// the shapes after it) and the current colour saved and restored around the
// obstacle being drawn. The desktop's code draws the page's frame unchanged.
mergeInto(LibraryManager.library, {
  // A convex polygon covers the same pixels as the fan of triangles from its
  // first vertex, which the emulation draws.
  $glCompatPolygons__deps: ['$GLImmediate'],
  $glCompatPolygons__postset: 'glCompatPolygons();',
  $glCompatPolygons: function() {
    var flush = GLImmediate.flush;
    GLImmediate.flush = function() {
      if (GLImmediate.mode == 0x9 /* GL_POLYGON */) GLImmediate.mode = 0x6; /* GL_TRIANGLE_FAN */
      return flush.apply(this, arguments);
    };
  },

  glBegin__deps: ['$GLImmediateSetup', '$glCompatPolygons'],

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
