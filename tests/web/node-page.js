// The page of the unit tests under node (emcc --pre-js), as dist/web/page.js is in a browser where
// nothing happens: it shows nothing, has no events to give, no other tab and stores nothing. node's fetch takes
// no file path: the program's wasm is read from beside it.
var document = { title: "" };
Module.wasmBinary = require("fs").readFileSync(__filename.replace(/\.js$/, ".wasm"));
Module.starshards = {
    copyToCanvas() {}, takeEvent: () => 0, showIcon() {}, storeFiles: async () => 1,
    refreshFiles: async () => {}, holdFiles: async () => {}, releaseFiles() {},
    waitForEvent: (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds, 0)),
};
// ctest's SDL driver; the rest of node's environment names places on the disk, not in memory.
(Module.preRun = Module.preRun || []).push(() => (ENV.SDL_VIDEODRIVER = process.env.SDL_VIDEODRIVER));
// A main that waited returns to no one: its status ends the program once it has really returned.
Module.noInitialRun = true;
Module.onRuntimeInitialized = function () {
    callMain(arguments_);
    if (Asyncify.currData) Asyncify.whenDone().then((status) => exit(status));
};
