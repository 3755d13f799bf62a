// Emscripten's SDL says "SDL_Quit called (and ignored)" on the program's own standard output,
// which is the game's log; the game's SDL quits without a word.
mergeInto(LibraryManager.library, {
  SDL_Quit: function() {},
});
