// Plays the browser game in headless Chromium through the DevTools protocol on a pipe (no package,
// any node): every screen by the keys, judged by its texts in the canvas and by the page.
//   node play.mjs URL WORK_DIR FONT RENDER_TEXT...   (the Windows build's render-text.exe, run by Wine)
import { spawnSync } from "child_process";
import { readFileSync } from "fs";
import { startChromium } from "./chromium.mjs";
const [url, work, font, ...renderText] = process.argv.slice(2);
process.exitCode = 1; // until the end is reached: a browser gone early leaves node with nothing to wait for
const requests = [];
const { chrome, send, evaluate, attach, useSession, press } = startChromium(`${work}/profile`, (message) => {
    if (message.method === "Network.requestWillBeSent") requests.push(message.params.request.url);
});
// Ends the test once the browser has gone; the promise never settles, so nothing after it runs.
const fail = (what, expected, seen) => {
    console.error(`FAIL ${what}: expected ${expected}, seen ${JSON.stringify(seen)}`);
    chrome.once("exit", () => process.exit(1)).kill();
    return new Promise(() => {});
};
// Polls until the expression's value passes the test, for at most the bound: a loaded machine is slow.
async function until(what, expression, test, expected, shown = (value) => value, seconds = 20) {
    let value;
    for (let tries = seconds * 10; tries > 0; tries--) {
        if (test((value = await evaluate(expression)))) return value;
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
    return fail(what, expected, shown(value));
}
// The screens' texts, "X Y POINTS TEXT" where the game draws them (a menu item at 46 points at its
// strip's left when chosen, else at 24 further right); "!" before one: not shown whole.
const ITEMS = [["New Game", 200, 216, 305], ["Load Game", 300, 193, 294],
    ["High Scores", 400, 149, 270], ["Exit", 500, 309, 353]];
const menu = (chosen, ...more) => ["45 10 72 STARSHARDS", "263 115 12 Created by orvane",
    "650 575 12 Version: 1.2", ...more, ...ITEMS.map(([text, y, x, plainX]) =>
        (text === chosen ? `${x} ${y} 46 ${text}` : `${plainX} ${y} 24 ${text}`))];
const ROWS = ["oru 39400", "fen 20000", "zol 15600", "wyr 13500", "kha 10000", "mip 9500", "tzo 8700",
    "lun 5400", "vek 5000", "qrx 3200"];
const play = (score, level, bullets, ...more) => ["281 10 24 STARSHARDS", "15 20 12 Lives:",
    `585 20 12 Score: ${score}`, `700 575 12 Level ${level}`, `10 575 12 Bullets: ${bullets}`, ...more];
const PAUSED = ["187 100 72 paused", "50 400 36 press enter to quit"], NO_SAVE = "256 550 24 no save game";
const over = (name, last = "179 500 46 enter name") => ["79 50 72 GAME OVER", "148 200 46 Final Score",
    "302 275 24 5000000", `296 350 72 ${name}`, last];
// Each name the test records, typed letter by letter.
const naming = Object.fromEntries(["abc", "cab", "bac"].flatMap((name) => [1, 2, 3].map((typed) =>
    [name.slice(0, typed), typed < 3 ? over(name.slice(0, typed).padEnd(3, "_"))
        : over(name, "148 500 46 press enter")])));
const SCREENS = { title: menu("New Game"), load: menu("Load Game"), noSave: menu("Load Game", NO_SAVE),
    scores: menu("High Scores"), scoresNoSave: menu("High Scores", NO_SAVE),
    otherTab: ["149 10 46 High Scores", "250 100 24 1. cab 5000000", "250 140 24 2. abc 5000000"], table: ["149 10 46 High Scores", "148 530 46 press enter",
        ...ROWS.map((row, i) => `${i < 9 ? 250 : 226} ${100 + 40 * i} 24 ${i + 1}. ${row}`)],
    level7: play("0005000000", 7, 6), over: over("___"), ...naming,
    level1: play("0000000000", 1, 6, "!187 100 72 paused"),
    paused: play("0000000000", 1, 6, ...PAUSED), shot: ["10 575 12 Bullets: 5"], exit: menu("Exit") };
// Each text drawn once by the Windows build (its SDL_ttf and FreeType, under Wine; Z: is the root)
// into an 8-bit BMP as SDL_SaveBMP writes it: rows bottom up, 4-byte aligned, a palette index each.
const parse = (item) => item.match(/^(!?)(\d+) (\d+) ((\d+) (.*))$/).slice(1);
const texts = [...new Set(Object.values(SCREENS).flat().map((item) => parse(item)[3]))];
const drawn = spawnSync(renderText[0], [...renderText.slice(1), `Z:${font}`, ...texts.flatMap((text, i) =>
    [...text.split(/ (.*)/, 2), `Z:${work}/${i}.bmp`])], { encoding: "utf8" });
if (drawn.status !== 0) await fail("the Windows build's texts", "drawn", drawn.stderr);
const GLYPHS = new Map(texts.map((text, i) => {
    const bmp = readFileSync(`${work}/${i}.bmp`), width = bmp.readInt32LE(18), height = bmp.readInt32LE(22);
    const pixel = (i) => bmp[bmp.readUInt32LE(10) + (height - 1 - Math.floor(i / width)) * ((width + 3) & ~3) + i % width];
    const white = Array.from({ length: width * height },
        (_, i) => bmp.readUIntLE(14 + bmp.readUInt32LE(14) + 4 * pixel(i), 3) === 0xffffff);
    return [text, { width, height, white }];
}));
// The canvas's box of a text as a string of 1 for each white pixel, the colour of the texts.
const whiteIn = ([, x, y, text]) => `(() => { const d = document.getElementById('canvas').getContext('2d')
    .getImageData(${x}, ${y}, ${GLYPHS.get(text).width}, ${GLYPHS.get(text).height}).data; let s = '';
    for (let i = 0; i < d.length; i += 4) s += d[i] + d[i + 1] + d[i + 2] === 765 ? 1 : 0;
    return s; })()`;
// What differs in the box from the Windows build's text: glyph pixels not white in the canvas, and
// other white pixels but the backdrop's stars: rand() whitens one pixel in 700 on rows 35 to 579,
// so clusters of up to 3 there pass for stars (4 together come about once in 3000 runs). The rocks
// have no white pixel.
function differences(item, seen = "") {
    const [not, x, y, text] = parse(item), { width, white } = GLYPHS.get(text);
    const at = (i) => [+x + (i % width), +y + Math.floor(i / width)];
    const missing = [], extra = new Set();
    white.forEach((glyph, i) => (glyph ? seen[i] !== "1" && missing.push(i) : seen[i] === "1" && extra.add(i)));
    const stray = [...extra].filter((i) => {
        const cluster = new Set([i]);
        for (const j of cluster)
            for (const k of [1, width - 1, width, width + 1].flatMap((d) => [j - d, j + d]))
                if (extra.has(k) && Math.abs((k % width) - (j % width)) <= 1 && cluster.size < 4) cluster.add(k);
        return cluster.size > 3 || at(i)[1] < 35 || at(i)[1] > 579;
    });
    const shown = (list) => `${list.length} (${list.slice(0, 4).map(at).join(" ")})`;
    if (not) return missing.length ? "" : `${item}: shown whole`;
    return missing.length + stray.length ? `${item}: ${shown(missing)} glyph pixels not white, ` +
        `${shown(stray)} others white` : "";
}
// Presses the key, then waits until the canvas shows the screen's texts as the Windows build draws
// them: the page queues every key, so none is lost.
async function step(what, name, items) {
    if (name) await press(name);
    const wrong = (seen = []) => items.map((item, i) => differences(item, seen[i])).filter((text) => text);
    await until(what, `[${items.map((item) => whiteIn(parse(item)))}]`, (seen) => !wrong(seen).length,
        "its texts as drawn on Windows", wrong);
}
const game = await attach();
await send("Network.enable");
await send("Page.navigate", { url });
const scores = "FS.readFile('/stored/highscores.txt', { encoding: 'utf8' })";
await step("title menu", null, SCREENS.title);
// The window's caption, set by the game, is the page's title.
await until("the page's title", "document.title", (t) => t === "Starshards", "Starshards");
await until("the canvas's size", "canvas.width + 'x' + canvas.height", (s) => s === "800x600", "800x600");
await step("Load Game chosen", "Down", SCREENS.load);
await step("Load Game without a saved game", "Return", SCREENS.noSave);
await step("High Scores chosen", "Down", SCREENS.scoresNoSave);
await step("high-score table", "Return", SCREENS.table);
// A saved game on its last life at level 7, stored where the game reads it (over what the browser
// holds, which another tab may have changed): flying ahead through its rocks ends it in seconds.
const savedGame = "new Promise((stored) => FS.syncfs(true, () => { FS.writeFile('/stored/save.txt', " +
    "'level::7\\nlives::1\\nscore::5000000\\n'); FS.syncfs(false, stored); }))";
// From the title menu with Load Game chosen: the saved game played to its end, NAME typed letter by
// letter and recorded.
async function recordSavedGame(name) {
    await step("the saved game", "Return", SCREENS.level7);
    await press("Up", ["keyDown"]);
    await step("game over", null, SCREENS.over);
    await press("Up", ["keyUp"]);
    for (let typed = 1; typed <= 3; typed++)
        await step(`the name ${name.slice(0, typed)}`, name[typed - 1], SCREENS[name.slice(0, typed)]);
    await step("title menu after the name", "Return", SCREENS.load);
}
await evaluate(savedGame);
await step("title menu after the table", "Return", SCREENS.scoresNoSave);
await step("Load Game chosen", "Up", SCREENS.noSave);
await recordSavedGame("abc");
await until("the score in the table", scores, (s) => /^abc::/m.test(s), "a row of abc");
await evaluate("window.beforeReload = true");
await send("Page.reload");
await until("the page reloaded", "window.beforeReload === undefined", (fresh) => fresh, true);
await step("title menu after a reload", null, SCREENS.title);
await until("the score after a reload", scores, (s) => /^abc::/m.test(s), "a row of abc");
// The game in a second tab records a score while this one waits at its title menu: this one's
// table shows it, and the score this one records after it keeps the other's row.
const second = (await send("Target.createTarget", { url }, undefined)).result.targetId;
await attach(second);
await step("the second tab's title menu", null, SCREENS.title);
await step("Load Game chosen in the second tab", "Down", SCREENS.load);
await evaluate(savedGame);
await recordSavedGame("cab");
await send("Target.closeTarget", { targetId: second }, undefined);
useSession(game);
await press("Down");
await step("High Scores chosen", "Down", SCREENS.scores);
await step("the table with the other tab's score", "Return", SCREENS.otherTab);
await step("title menu after the table", "Return", SCREENS.scores);
await step("Load Game chosen", "Up", SCREENS.load);
await recordSavedGame("bac"); // the game saved before, found here as it is stored
await until("both tabs' scores stored", `new Promise((read) => FS.syncfs(true, () => read(${scores})))`,
    (s) => /^bac::/m.test(s) && /^cab::/m.test(s), "rows of bac and cab");
await step("New Game chosen", "Up", SCREENS.title);
// Alt+Return and F11 ask the browser's full screen for the canvas, and the game goes on answering.
const fullScreen = "document.fullscreenElement === canvas";
await press("Return", ["keyDown", "keyUp"], 1); // Alt
await until("the canvas on the whole screen after Alt+Return", fullScreen, (full) => full, true);
await step("Load Game chosen on the whole screen", "Down", SCREENS.load);
await press("F11");
await until("the canvas back in the page after F11", fullScreen, (full) => !full, false);
await step("New Game chosen", "Up", SCREENS.title);
// Taken after the first frames, which show none ready before the bullets are counted.
await step("new game", "Return", SCREENS.level1);
await step("paused", "Escape", SCREENS.paused);
await step("resumed", "Escape", SCREENS.level1);
await step("Bullets after a shot", "Space", SCREENS.shot);
// A second tab brought to the front hides the game's.
const other = (await send("Target.createTarget", { url: "about:blank" }, undefined)).result.targetId;
await until("the game's tab hidden", "document.hidden", (hidden) => hidden, true);
await step("paused in a hidden tab", null, PAUSED);
await send("Target.closeTarget", { targetId: other }, undefined);
await step("title menu after quitting", "Return", SCREENS.title);
await press("Down");
await press("Down");
await step("Exit chosen", "Down", SCREENS.exit);
await press("Return");
const end = "document.getElementById('end')";
await until("the page after Exit", `${end}.hidden ? '' : ${end}.innerText`,
    (text) => /^Starshards has ended\.\s+Play again$/.test(text), "Starshards has ended. Play again");
const origin = new URL(url).origin + "/";
const foreign = requests.filter((request) => !request.startsWith(origin));
if (requests.length < 8 || foreign.length)
    await fail(`requests only to ${origin}`, "none elsewhere", foreign);
process.exitCode = 0;
console.log(`PASS every screen's texts as the Windows build draws them, a score kept across a reload ` +
    `and beside another tab's, the full screen, a hidden tab paused, Exit; ${requests.length} requests, ` +
    `all to ${origin}`);
chrome.kill();
