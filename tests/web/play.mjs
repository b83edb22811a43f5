// Plays the browser game in headless Chromium through the DevTools protocol on a pipe (no package,
// any node): every screen by the keys, judged by the canvas's pixels and the page.
//   node play.mjs URL PROFILE_DIR
import { spawn } from "child_process";
const [url, profile] = process.argv.slice(2);
process.exitCode = 1; // until the end is reached: a browser gone early leaves node with nothing to wait for
const chrome = spawn("chromium", ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
    "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync",
    `--user-data-dir=${profile}`, "--remote-debugging-pipe", "about:blank"],
    { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
let id = 0, buffered = "", session;
const pending = new Map(), requests = [];
chrome.stdio[4].on("data", (chunk) => {
    const messages = (buffered += chunk).split("\0");
    buffered = messages.pop();
    for (const message of messages.map((text) => JSON.parse(text))) {
        if (pending.has(message.id)) pending.get(message.id)(message);
        else if (message.method === "Network.requestWillBeSent") requests.push(message.params.request.url);
    }
});
const send = (method, params = {}, sessionId = session) => new Promise((resolve) => {
    pending.set(++id, resolve);
    chrome.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
});
const evaluate = async (expression) =>
    (await send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true }))
        .result.result.value;
// Ends the test once the browser has gone; the promise never settles, so nothing after it runs.
const fail = (what, expected, seen) => {
    console.error(`FAIL ${what}: expected ${expected}, seen ${JSON.stringify(seen)}`);
    chrome.once("exit", () => process.exit(1)).kill();
    return new Promise(() => {});
};
// Polls until the expression's value passes the test, for at most the bound: a loaded machine is slow.
async function until(what, expression, test, expected, seconds = 20) {
    let value;
    for (let tries = seconds * 10; tries > 0; tries--) {
        if (test((value = await evaluate(expression)))) return value;
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
    return fail(what, expected, value);
}
// A strip of the canvas as the count of its white pixels, the colour of the game's texts, or, placed,
// as the sum of their places, which changes with the text.
const white = (x, y, w, h, placed = false) => `(() => { const d = document.getElementById('canvas')
    .getContext('2d').getImageData(${x}, ${y}, ${w}, ${h}).data; let n = 0;
    for (let i = 0; i < d.length; i += 4) n += (d[i] + d[i + 1] + d[i + 2] === 765) * (${placed} ? i : 1);
    return n; })()`;
const KEYS = { Down: [40, "ArrowDown", "ArrowDown"], Up: [38, "ArrowUp", "ArrowUp"],
    Return: [13, "Enter", "Enter"], Escape: [27, "Escape", "Escape"], Space: [32, " ", "Space"],
    a: [65, "a", "KeyA"], b: [66, "b", "KeyB"], c: [67, "c", "KeyC"] };
async function press(name, types = ["keyDown", "keyUp"]) {
    const [windowsVirtualKeyCode, key, code] = KEYS[name];
    for (const type of types)
        await send("Input.dispatchKeyEvent", { type, key, code, windowsVirtualKeyCode });
}
// Presses the key, then waits for each strip [x, y, w, h] to show at least (or, negative, fewer
// than) so many white pixels: the page queues every key, so none is lost.
async function step(what, name, ...strips) {
    if (name) await press(name);
    for (const [x, y, w, h, least] of strips)
        await until(`${what}: white pixels at ${x},${y} ${w}x${h}`, white(x, y, w, h),
            (n) => (least < 0 ? n < -least : n >= least), least < 0 ? `< ${-least}` : `>= ${least}`);
}

const { targetInfos } = (await send("Target.getTargets", {}, undefined)).result;
const targetId = targetInfos.find((target) => target.type === "page").targetId;
session = (await send("Target.attachToTarget", { targetId, flatten: true }, undefined)).result.sessionId;
await send("Network.enable");
await send("Page.navigate", { url });
// The texts' strips: each menu item is white at 46 points when chosen, at 24 points when not.
const NEW_GAME = [0, 200, 800, 50], LOAD_GAME = [0, 300, 800, 50], HIGH_SCORES = [0, 400, 800, 50],
    VERSION = [650, 575, 150, 25], PAUSED = [150, 100, 500, 80], GAME_OVER = [0, 50, 800, 80],
    TITLE = [0, 10, 800, 50], BULLETS = [0, 575, 150, 25], FIRST_LETTER = [296, 350, 70, 50],
    EXIT = [0, 500, 800, 50];
const CHOSEN = 4000, PLAIN = -3000;
const title = () => until("the title menu", white(...TITLE), (n) => n >= 15000, ">= 15000 (STARSHARDS)");
const scores = "FS.readFile('/stored/highscores.txt', { encoding: 'utf8' })";
await step("title menu", null, [...NEW_GAME, CHOSEN], [...LOAD_GAME, PLAIN], [...VERSION, 300]);
// The window's caption, set by the game, is the page's title.
await until("the page's title", "document.title", (t) => t === "Starshards", "Starshards");
await until("the canvas's size", "canvas.width + 'x' + canvas.height", (s) => s === "800x600", "800x600");
await step("Load Game chosen", "Down", [...NEW_GAME, PLAIN], [...LOAD_GAME, CHOSEN]);
await step("High Scores chosen", "Down", [...LOAD_GAME, PLAIN], [...HIGH_SCORES, CHOSEN]);
// The table's heading is smaller than the title's.
await step("high-score table", "Return", [...TITLE, -12000], [...HIGH_SCORES, PLAIN]);
// A saved game on its last life at level 7, stored where the game reads it (over what the browser
// holds, which another tab may have changed): flying ahead through its rocks ends it in seconds,
// and the name typed records the score.
const savedGame = "new Promise((stored) => FS.syncfs(true, () => { FS.writeFile('/stored/save.txt', " +
    "'level::7\\nlives::1\\nscore::5000000\\n'); FS.syncfs(false, stored); }))";
async function recordSavedGame(name) {
    await step("the saved game", "Return", [...TITLE, -12000], [...BULLETS, 300]);
    await press("Up", ["keyDown"]);
    // The name's first place shows its letter above the line of the blank.
    await step("game over", null, [...GAME_OVER, 12000], [...FIRST_LETTER, -300]);
    await press("Up", ["keyUp"]);
    await step("the name's first letter", name[0], [...FIRST_LETTER, 800]);
    for (const letter of name.slice(1)) await press(letter);
    await press("Return");
    await title();
}
await press("Return");
await title();
await step("Load Game chosen", "Up", [...LOAD_GAME, CHOSEN]);
await evaluate(savedGame);
await recordSavedGame("abc");
await until("the score in the table", scores, (s) => /^abc::/m.test(s), "a row of abc");
await evaluate("window.beforeReload = true");
await send("Page.reload");
await until("the page reloaded", "window.beforeReload === undefined", (fresh) => fresh, true);
await step("title menu after a reload", null, [...NEW_GAME, CHOSEN]);
await until("the score after a reload", scores, (s) => /^abc::/m.test(s), "a row of abc");
// The game in a second tab records a score while this one waits at its title menu; the score this
// one records after it keeps the other's row.
const game = session;
const second = (await send("Target.createTarget", { url }, undefined)).result.targetId;
session = (await send("Target.attachToTarget", { targetId: second, flatten: true }, undefined)).result.sessionId;
await step("the second tab's title menu", null, [...NEW_GAME, CHOSEN]);
await step("Load Game chosen in the second tab", "Down", [...LOAD_GAME, CHOSEN]);
await evaluate(savedGame);
await recordSavedGame("cab");
await send("Target.closeTarget", { targetId: second }, undefined);
session = game;
await step("Load Game chosen", "Down", [...LOAD_GAME, CHOSEN]);
await recordSavedGame("bac"); // the game saved before, found here as it is stored
await until("both tabs' scores stored", `new Promise((read) => FS.syncfs(true, () => read(${scores})))`,
    (s) => /^bac::/m.test(s) && /^cab::/m.test(s), "rows of bac and cab");
await step("New Game chosen", "Up", [...NEW_GAME, CHOSEN]);
// Level 1's two rocks cannot whiten the strip of "paused" as its text does.
await step("new game", "Return", [...TITLE, -12000], [...BULLETS, 300], [...PAUSED, -5000]);
await step("paused", "Escape", [...PAUSED, 8000]);
await step("resumed", "Escape", [...PAUSED, -5000]);
// Taken after the first frames, which show none ready before the bullets are counted.
const bullets = await evaluate(white(...BULLETS, true));
await press("Space");
await until("Bullets after a shot", white(...BULLETS, true), (s) => s !== bullets, "a change");
// A second tab brought to the front hides the game's.
const other = (await send("Target.createTarget", { url: "about:blank" }, undefined)).result.targetId;
await until("the game's tab hidden", "document.hidden", (hidden) => hidden, true);
await step("paused in a hidden tab", null, [...PAUSED, 8000]);
await send("Target.closeTarget", { targetId: other }, undefined);
await step("title menu after quitting", "Return", [...NEW_GAME, CHOSEN]);
await press("Down");
await press("Down");
await step("Exit chosen", "Down", [...EXIT, 2000]);
await press("Return");
const end = "document.getElementById('end')";
await until("the page after Exit", `${end}.hidden ? '' : ${end}.innerText`,
    (text) => /^Starshards has ended\.\s+Play again$/.test(text), "Starshards has ended. Play again");
const origin = new URL(url).origin + "/";
const foreign = requests.filter((request) => !request.startsWith(origin));
if (requests.length < 8 || foreign.length)
    await fail(`requests only to ${origin}`, "none elsewhere", foreign);
process.exitCode = 0;
console.log(`PASS every screen, a score kept across a reload and beside another tab's, ` +
    `a hidden tab paused, Exit; ` +
    `${requests.length} requests, all to ${origin}`);
chrome.kill();
