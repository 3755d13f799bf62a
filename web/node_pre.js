// The replay tool under node.
// Emscripten 3.1.6 fetches the module's .wasm with fetch when there is one, and node 20's takes
// no file paths; without it the tool reads the file from the disc.
var fetch;

// The program's own output goes straight to the process's descriptors (NODERAWFS). What
// emscripten's JavaScript says goes to standard error, except the GL emulation's notice that
// it is loaded: natively nothing is said there.
Module['printErr'] = function(text) {
  if (!/^WARNING: using emscripten GL/.test(text)) process.stderr.write(text + '\n');
};
