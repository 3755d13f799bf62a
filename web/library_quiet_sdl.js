// The game's SDL in the page, where it differs from emscripten's:
// - emscripten's SDL says "SDL_Quit called (and ignored)" on the program's standard output,
//   which is the game's log; the game's SDL quits without a word;
// - each buffer swap (one a step) is counted, so that the page knows when the first frame is
//   drawn and how many there have been (Module.frames, Module.firstFrameAt);
// - emscripten numbers a key by the page's keyCode, which gives the keypad's keys the numbers
//   of the keys they double (Numpad8 is ArrowUp with NumLock off, NumpadEnter is Enter) and the
//   right Meta key backslash's, and chromium's media and browser keys those of characters
//   (AudioVolumeMute is '-'); the game's SDL numbers the keypad and right Meta by where they
//   are, in emscripten's own way (1024 + SDL 2's scancode), and a key that types no character
//   as no character. It remembers every key's name (the page's code) for the keys that
//   app/BrowserKeys.cpp finds no SDL 1.2 number for.
mergeInto(LibraryManager.library, {
  SDL_Quit: function() {},
  SDL_GL_SwapBuffers: function() {
    if (Browser.doSwapBuffers) Browser.doSwapBuffers();
    if (!Module.frames) Module.firstFrameAt = performance.now();
    Module.frames = (Module.frames || 0) + 1;
  },
  $quillfenKeys__deps: ['$SDL'],
  $quillfenKeys__postset: 'quillfenKeys();',
  $quillfenKeys: function() {
    var keypad = { Numpad1: 89, Numpad2: 90, Numpad3: 91, Numpad4: 92, Numpad5: 93, Numpad6: 94,
      Numpad7: 95, Numpad8: 96, Numpad9: 97, Numpad0: 98, NumpadDecimal: 99, NumpadDivide: 84,
      NumpadMultiply: 85, NumpadSubtract: 86, NumpadAdd: 87, NumpadEnter: 88, NumpadEqual: 103 };
    var emscriptenNumber = SDL.lookupKeyCodeForEvent;
    SDL.keyNames = {};
    SDL.lookupKeyCodeForEvent = function(event) {
      var key = emscriptenNumber(event);
      if (event.location === 3 && event.code in keypad) key = 1024 | keypad[event.code];
      if (event.location === 2 && event.keyCode === 92) key = 1024 | 231;
      var character = key > 32 && key < 127;
      if (character && event.key && event.key.length > 1 && event.key !== 'Dead') key = 1024;
      if (event.code) SDL.keyNames[key] = event.code;
      return key;
    };
  },
  quillfen_key_name__deps: ['$quillfenKeys'],
  quillfen_key_name: function(key, buffer, size) {
    stringToUTF8(SDL.keyNames[key] || 'key' + key, buffer, size);
  },
});
