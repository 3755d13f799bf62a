// The game's SDL in the page, where it differs from emscripten's:
// - emscripten's SDL says "SDL_Quit called (and ignored)" on the program's standard output,
//   which is the game's log; the game's SDL quits without a word;
// - each buffer swap (one a step) is counted, so that the page knows when the first frame is
//   drawn and how many there have been (Module.frames, Module.firstFrameAt).
mergeInto(LibraryManager.library, {
  SDL_Quit: function() {},
  SDL_GL_SwapBuffers: function() {
    if (Browser.doSwapBuffers) Browser.doSwapBuffers();
    if (!Module.frames) Module.firstFrameAt = performance.now();
    Module.frames = (Module.frames || 0) + 1;
  },
});
