// The page's side of the browser game, run before the program (emcc --pre-js). The program draws
// with SDL's dummy video driver into a plain surface: this copies what it pushes into the canvas,
// turns the page's keys and visibility into SDL events for it, wakes its waits, and keeps its
// files in the browser's storage. src/PlatformWeb.cpp is the program's side.
Module.starshards = (function () {
    const SDL_ACTIVEEVENT = 1, SDL_KEYDOWN = 2, SDL_KEYUP = 3, KMOD_LALT = 0x0100;
    // SDL 1.2's symbols of the keys the game reads; the letters a to z are their own codes.
    const KEYS = {
        ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276, Space: 32, Enter: 13,
        Escape: 27, Backspace: 8, F11: 292,
    };
    // The files the game keeps: links in its working directory into the stored folder.
    const STORED_FOLDER = "/stored", STORED_FILES = ["highscores.txt", "save.txt"];
    const canvas = document.getElementById("canvas");
    const context = canvas.getContext("2d");
    const events = [];
    let wake = null, image = null, imagePixels = null;
    let filesHeld = 0, releaseHeldFiles = null;
    // Another tab of the page that has stored the folder says so; this tab's copy of the folder is
    // then out of date until it is read afresh.
    const otherTabs = new BroadcastChannel("starshards files");
    let filesChangedElsewhere = false;
    otherTabs.onmessage = () => { filesChangedElsewhere = true; };

    function queue(event) {
        events.push(event);
        if (wake) wake();
    }

    // A letter by the character it types (the player's layout), the others by the key's place.
    function sdlKey(event) {
        if (/^[a-z]$/i.test(event.key)) return event.key.toLowerCase().charCodeAt(0);
        return KEYS[event.code];
    }

    function onKey(event) {
        const key = sdlKey(event);
        if (key === undefined) return;
        event.preventDefault(); // no scrolling on arrows or Space, no browser full screen on F11
        if (event.repeat) return; // the game asks for no key repeat
        const down = event.type === "keydown";
        const alt = event.altKey ? KMOD_LALT : 0;
        // Only a key's own handler may ask for the browser's full screen.
        if (down && (key === KEYS.F11 || (key === KEYS.Enter && alt))) {
            if (document.fullscreenElement) document.exitFullscreen();
            else canvas.requestFullscreen();
        }
        queue({ type: down ? SDL_KEYDOWN : SDL_KEYUP, key: key, modOrGain: alt });
    }

    // A page larger than the picture shows it at the largest whole scale that fits beside the line
    // of keys below it, by nearest pixels (the style's pixelated rendering).
    function fitCanvas() {
        const scale = Math.max(1, Math.floor(Math.min(innerWidth / canvas.width,
            (innerHeight - 80) / canvas.height)));
        canvas.style.width = canvas.width * scale + "px";
        canvas.style.height = canvas.height * scale + "px";
    }
    addEventListener("resize", fitCanvas);
    fitCanvas();

    canvas.addEventListener("keydown", onKey);
    canvas.addEventListener("keyup", onKey);
    canvas.addEventListener("mousedown", () => canvas.focus());
    // A hidden tab pauses play, as a minimised window does.
    document.addEventListener("visibilitychange", () =>
        queue({ type: SDL_ACTIVEEVENT, key: 0, modOrGain: document.hidden ? 0 : 1 }));

    Module.preRun = Module.preRun || [];
    Module.preRun.push(function () {
        FS.mkdir(STORED_FOLDER);
        FS.mount(IDBFS, {}, STORED_FOLDER);
        addRunDependency("stored files");
        FS.syncfs(true, function (error) {
            if (error) err("the browser's storage cannot be read: " + error);
            for (const name of STORED_FILES) FS.symlink(STORED_FOLDER + "/" + name, "/" + name);
            removeRunDependency("stored files");
        });
    });
    // The program's waits return to the browser, so main's return reaches no one: it is run here,
    // and the runtime ended (the program's exit handlers run) when it has returned.
    Module.noInitialRun = true;
    Module.onRuntimeInitialized = function () {
        canvas.focus();
        ccall("main", "number", [], [], { async: true }).then(function (status) {
            try {
                exit(status);
            } catch (end) { // exit ends by throwing ExitStatus, as the end of a program
                if (!(end instanceof ExitStatus)) throw end;
            }
        });
    };
    Module.onExit = () => showEnd("Starshards has ended.");
    Module.onAbort = () => showEnd("Starshards has stopped on an error (see the console).");

    function showEnd(text) {
        document.getElementById("end-text").textContent = text;
        document.getElementById("end").hidden = false;
    }

    return {
        // Copies a rectangle of the program's 0xRRGGBB surface into the canvas.
        copyToCanvas(pixels, pitch, width, height, x, y, rectWidth, rectHeight) {
            if (!image || image.width !== width || image.height !== height) {
                canvas.width = width;
                canvas.height = height;
                image = context.createImageData(width, height);
                imagePixels = new Uint32Array(image.data.buffer);
            }
            for (let row = y; row < y + rectHeight; row++) {
                const from = (pixels + row * pitch) >> 2, to = row * width;
                for (let column = x; column < x + rectWidth; column++) {
                    const pixel = HEAPU32[from + column];
                    // The canvas's bytes are red, green, blue, alpha.
                    imagePixels[to + column] = 0xff000000 | (pixel & 0xff) << 16 |
                        (pixel & 0xff00) | (pixel >>> 16 & 0xff);
                }
            }
            context.putImageData(image, 0, 0, x, y, rectWidth, rectHeight);
        },

        // Resolves to 1 as soon as an event is queued, or to 0 after the time.
        waitForEvent(milliseconds) {
            if (events.length > 0) return Promise.resolve(1);
            return new Promise(function (resolve) {
                const timer = setTimeout(() => { wake = null; resolve(0); }, milliseconds);
                wake = () => { clearTimeout(timer); wake = null; resolve(1); };
            });
        },

        // The oldest event: its SDL type (0 when there is none), key and modifiers or gain.
        takeEvent(keyAddress, modOrGainAddress) {
            const event = events.shift();
            if (!event) return 0;
            HEAP32[keyAddress >> 2] = event.key;
            HEAP32[modOrGainAddress >> 2] = event.modOrGain;
            return event.type;
        },

        showIcon(rgba, width, height) {
            const iconCanvas = document.createElement("canvas");
            iconCanvas.width = width;
            iconCanvas.height = height;
            const icon = new ImageData(new Uint8ClampedArray(HEAPU8.slice(rgba, rgba + width * height * 4).buffer), width, height);
            iconCanvas.getContext("2d").putImageData(icon, 0, 0);
            document.getElementById("icon").href = iconCanvas.toDataURL();
        },

        // Resolves to 1 once the stored folder is in the browser's storage, to 0 when it failed.
        storeFiles() {
            return new Promise((resolve) => FS.syncfs(false, (error) => {
                if (!error) otherTabs.postMessage("stored");
                resolve(error ? 0 : 1);
            }));
        },

        // Resolves once the stored folder holds what the browser has stored, another tab's changes
        // too: always when asked for (the files held), else only once another tab has said it
        // stored them, as the table's screen reads its file on every frame. A folder that cannot
        // be read from the storage is left as it is.
        refreshFiles(always) {
            if (!always && !filesChangedElsewhere) return Promise.resolve();
            filesChangedElsewhere = false;
            return new Promise((resolve) => FS.syncfs(true, resolve));
        },

        // Resolves once this tab holds the stored files: the lock of the page's origin makes other
        // tabs' holds wait until it is released. A hold within a hold passes at once. A page
        // served from an address the browser does not trust (plain http but for this machine)
        // has no such lock, and holds nothing.
        holdFiles() {
            if (filesHeld++ > 0 || !navigator.locks) return Promise.resolve();
            return new Promise((held) => navigator.locks.request("starshards files",
                () => new Promise((release) => { releaseHeldFiles = release; held(); })));
        },
        releaseFiles() {
            if (--filesHeld > 0 || !releaseHeldFiles) return;
            releaseHeldFiles();
            releaseHeldFiles = null;
        },
    };
})();
