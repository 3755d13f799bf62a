// The level module builds its worlds headless and never opens a window: of the renderer's
// window set-up, the two fixed-function calls that WebGL has no counterpart for are linked to
// these, which say so if they are ever reached.
mergeInto(LibraryManager.library, {
  glShadeModel: function() { throw new Error('the level module has no window to draw in'); },
  gluPerspective: function() { throw new Error('the level module has no window to draw in'); },
});
