// Debian's Chromium, headless, driven through its DevTools protocol on a pipe (no package, any
// node), for the browser test and the benchmark. onEvent gets each message that answers no call.
import { spawn } from "child_process";

export function startChromium(profile, onEvent = () => {}) {
    const chrome = spawn("chromium", ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
        "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync",
        `--user-data-dir=${profile}`, "--remote-debugging-pipe", "about:blank"],
        { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
    let id = 0, buffered = "", session;
    const pending = new Map();
    chrome.stdio[4].on("data", (chunk) => {
        const messages = (buffered += chunk).split("\0");
        buffered = messages.pop();
        for (const message of messages.map((text) => JSON.parse(text))) {
            if (pending.has(message.id)) pending.get(message.id)(message);
            else onEvent(message);
        }
    });
    // A call to the browser, or by default to the page once attached.
    const send = (method, params = {}, sessionId = session) => new Promise((resolve) => {
        pending.set(++id, resolve);
        chrome.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    });
    const KEYS = { Down: [40, "ArrowDown", "ArrowDown"], Up: [38, "ArrowUp", "ArrowUp"],
        Return: [13, "Enter", "Enter"], Escape: [27, "Escape", "Escape"], Space: [32, " ", "Space"],
        F11: [122, "F11", "F11"], a: [65, "a", "KeyA"], b: [66, "b", "KeyB"], c: [67, "c", "KeyC"] };
    return {
        chrome, send,
        // A key by its name in KEYS, pressed and released unless only some of the two are asked,
        // with the DevTools modifiers' bits (1 Alt).
        async press(name, types = ["keyDown", "keyUp"], modifiers = 0) {
            const [windowsVirtualKeyCode, key, code] = KEYS[name];
            for (const type of types)
                await send("Input.dispatchKeyEvent", { type, key, code, windowsVirtualKeyCode, modifiers });
        },
        evaluate: async (expression) =>
            (await send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true }))
                .result.result.value,
        // Attaches to a tab, by default the one the browser opened: the page of the calls from then
        // on. Returns its session, for useSession.
        async attach(targetId) {
            const { targetInfos } = (await send("Target.getTargets", {}, undefined)).result;
            targetId ??= targetInfos.find((target) => target.type === "page").targetId;
            session = (await send("Target.attachToTarget", { targetId, flatten: true }, undefined)).result.sessionId;
            return session;
        },
        useSession: (attached) => (session = attached),
    };
}
