// The browser game's figures, of the same kinds as the desktop builds' (run-bench.sh,
// key-latency.sh, cpu-usage.sh), in Debian's headless Chromium driven as the browser test drives
// it, the web build tree served on 127.0.0.1 by this script. Builds nothing:
//   node bench/web.mjs figures WEB_DIR ZIP OUTPUT_JSON [PRESSES]
//   node bench/web.mjs cpu WEB_DIR [SECONDS]
// figures: the benchmark's page (bench/starshards-bench.html) runs its scenarios, printing its table,
// and writes its JSON into Emscripten's file system, read from there into OUTPUT_JSON; then on the
// game's page, the key-to-canvas latency as "key_to_screen" and what the page fetched, with the
// zip, as "download" (bytes raw and gzip -9) go into OUTPUT_JSON too.
// cpu: the share of a core Chromium's processes take on the game's title menu, high-score table and
// level 1, SECONDS (10) each, from the kernel's accounting of each process.
import { execFileSync } from "child_process";
import fs from "fs";
import http from "http";
import os from "os";
import path from "path";
import { startChromium } from "../tests/web/chromium.mjs";

const [mode, webDir, ...rest] = process.argv.slice(2);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const fail = (text) => {
    console.error(`bench/web.mjs: ${text}`);
    process.exit(1);
};

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
// Serves WEB_DIR as any static server would. The benchmark's page alone is cross-origin isolated:
// the browser's clock then has steps of 5 microseconds instead of 100.
function serve() {
    const server = http.createServer((request, response) => {
        const { pathname } = new URL(request.url, "http://host");
        const name = path.join(webDir, decodeURIComponent(pathname));
        fs.readFile(name, (error, body) => {
            if (error) return response.writeHead(404).end();
            const headers = { "Content-Type": TYPES[path.extname(name)] ?? "application/octet-stream" };
            if (pathname.startsWith("/bench/"))
                Object.assign(headers, { "Cross-Origin-Opener-Policy": "same-origin",
                    "Cross-Origin-Embedder-Policy": "require-corp" });
            response.writeHead(200, headers).end(body);
        });
    });
    return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// A fresh browser with PAGE of the served tree open; onEvent gets the page's events.
async function openPage(server, page, onEvent = () => {}) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "starshards-bench-web-"));
    const browser = startChromium(profile, onEvent);
    // A run that fails leaves no browser and, as far as it can, no profile.
    process.once("exit", () => {
        browser.chrome.kill();
        try {
            fs.rmSync(profile, { recursive: true, force: true });
        } catch { }
    });
    await browser.attach();
    await browser.send("Runtime.enable");
    await browser.send("Network.enable");
    await browser.send("Page.navigate", { url: `http://127.0.0.1:${server.address().port}/${page}` });
    browser.close = async () => {
        await new Promise((resolve) => browser.chrome.once("exit", resolve).kill());
        // Its helper processes may still be leaving files there: the removal is tried again.
        await fs.promises.rm(profile, { recursive: true, force: true, maxRetries: 10 });
    };
    return browser;
}

// Polls the page until the expression's value passes the test; gives up after the seconds.
async function until(browser, what, expression, test, seconds) {
    for (let tries = seconds * 10; tries > 0; tries--) {
        const value = await browser.evaluate(expression);
        if (test(value)) return value;
        await sleep(100);
    }
    return fail(`${what}: not within ${seconds} s`);
}

// The "New Game" strip of the title menu, drawn large when chosen, small when not (as
// key-latency.sh watches it), and its pixels compared in the page.
const [LEFT, TOP, WIDTH, HEIGHT] = [200, 200, 400, 55];
const STRIP = `document.getElementById('canvas').getContext('2d').getImageData(${LEFT}, ${TOP}, ${WIDTH}, ${HEIGHT}).data`;
const STRIP_SUM = `${STRIP}.reduce((sum, byte, i) => (sum + byte * (i % 251 + 1)) % 1000000007, 0)`;
const STRIP_PLAIN = `${STRIP}.every((byte, i, all) => byte === all[i % 4])`;

// Until the strip has shown one picture, not of one colour, for half a second: the title menu is
// up and idle.
async function waitForStillTitle(browser) {
    let last = null, since = 0;
    for (const start = Date.now(); Date.now() - start < 30000; await sleep(10)) {
        const [sum, plain] = (await browser.evaluate(`[${STRIP_SUM}, ${STRIP_PLAIN}]`)) ?? [null, true];
        if (sum !== last || plain) [last, since] = [sum, Date.now()];
        else if (Date.now() - since >= 500) return;
    }
    fail("the title menu never showed a still picture");
}

async function runScenarios(server, json) {
    const browser = await openPage(server, "bench/starshards-bench.html", (message) => {
        if (message.method !== "Runtime.consoleAPICalled") return;
        const text = message.params.args.map((arg) => arg.value).join(" ");
        (message.params.type === "log" ? process.stdout : process.stderr).write(`${text}\n`);
    });
    const end = "document.getElementById('end')";
    const text = await until(browser, "the benchmark's end", `${end}?.hidden === false ? ${end}.innerText : ''`,
        (shown) => shown !== "", 900);
    if (!text.startsWith("Starshards has ended.")) fail(`the benchmark's page: ${text}`);
    const figures = await browser.evaluate("FS.readFile('/bench.json', { encoding: 'utf8' })");
    if (typeof figures !== "string") fail("the benchmark's page wrote no /bench.json");
    fs.writeFileSync(json, figures);
    await browser.close();
}

// In the page: the time from each key event's timeStamp to the end of the first copy into the canvas
// after it that changes the strip; -1 when none did within a second. keyLatency.time(n) resolves
// to the nth press's.
const WATCH_KEYS = `window.keyLatency = (() => {
    const times = [], waiting = [], put = CanvasRenderingContext2D.prototype.putImageData;
    let press = null, count = 0;
    const finish = (ms) => {
        times[press.index] = ms;
        if (waiting[press.index]) waiting[press.index](ms);
        press = null;
    };
    addEventListener("keydown", (event) => {
        if (event.repeat) return;
        if (press) finish(-1);
        const current = press = { index: count++, at: event.timeStamp, before: ${STRIP} };
        setTimeout(() => press === current && finish(-1), 1000);
    }, true);
    // The page copies a rectangle at a time (image, 0, 0, x, y, width, height); only one that
    // meets the strip is looked at, so the looking delays no other.
    CanvasRenderingContext2D.prototype.putImageData = function (image, ...place) {
        put.call(this, image, ...place);
        const now = performance.now(), [, , x, y, width, height] = place;
        if (press && x < ${LEFT + WIDTH} && x + width > ${LEFT} && y < ${TOP + HEIGHT} && y + height > ${TOP} &&
            ${STRIP}.some((byte, i) => byte !== press.before[i]))
            finish(now - press.at);
    };
    return { time: (n) => times[n - 1] ?? new Promise((resolve) => waiting[n - 1] = resolve) };
})(), true`;

// The nearest-rank percentile of sorted times.
const percentile = (sorted, fraction) => sorted[Math.max(Math.ceil(fraction * sorted.length), 1) - 1];

// Down and Up in turn on the title menu at random gaps of 50 to 150 ms, as key-latency.sh presses
// them; the median, p90, longest, count and lost presses.
async function measureKeys(browser, presses) {
    await waitForStillTitle(browser);
    await browser.evaluate(WATCH_KEYS);
    let seed = 26; // minstd's numbers: the same gaps on every run
    const random = () => (seed = (seed * 48271) % 2147483647) / 2147483647;
    const times = [];
    for (let n = 1; n <= presses; n++) {
        await sleep(50 + Math.floor(random() * 101));
        const key = n % 2 ? "Down" : "Up";
        await browser.press(key, ["keyDown"]);
        times.push(await browser.evaluate(`keyLatency.time(${n})`));
        await browser.press(key, ["keyUp"]);
    }
    console.log(`${times.map((ms) => ms.toFixed(1)).join(" ")} (ms; -1: lost)`);
    const sorted = times.filter((ms) => ms >= 0).sort((a, b) => a - b);
    const figures = { median_ms: percentile(sorted, 0.5), p90_ms: percentile(sorted, 0.9),
        max_ms: sorted[sorted.length - 1], count: sorted.length, lost: presses - sorted.length };
    for (const key of ["median_ms", "p90_ms", "max_ms"]) figures[key] = Number(figures[key]?.toFixed(1));
    console.log(`key to canvas: ${JSON.stringify(figures)}`);
    return figures;
}

// Bytes of a file raw and as gzip -9 makes them.
const sizes = (file) => ({ bytes: fs.statSync(file).size,
    gzip_bytes: execFileSync("gzip", ["-9", "-c", file], { maxBuffer: 1 << 30 }).length });

async function measureFigures(zip, json, presses = 60) {
    const zipBytes = fs.statSync(zip).size;
    const server = await serve();
    await runScenarios(server, json);
    const fetched = new Set();
    const browser = await openPage(server, "index.html", (message) => {
        if (message.method === "Network.requestWillBeSent")
            fetched.add(new URL(message.params.request.url).pathname.slice(1));
    });
    const figures = JSON.parse(fs.readFileSync(json));
    figures.key_to_screen = await measureKeys(browser, Number(presses));
    await browser.close();
    server.close();
    figures.download = {};
    for (const name of [...fetched].filter((name) => name).sort())
        figures.download[name] = sizes(path.join(webDir, name));
    figures.download[path.basename(zip)] = { bytes: zipBytes };
    console.log(`download: ${JSON.stringify(figures.download)}`);
    fs.writeFileSync(json, JSON.stringify(figures, null, 2) + "\n");
    console.log(`written: ${json}`);
}

// Clock ticks each of Chromium's processes has run, user and system (fields 14 and 15 of its stat
// line), by the kind of process: the browser's own, then each --type (renderer, gpu-process, ...).
function ticksByKind(browserPid) {
    const parents = new Map(), ticks = {};
    for (const pid of fs.readdirSync("/proc").filter((name) => /^\d+$/.test(name))) {
        try {
            const fields = fs.readFileSync(`/proc/${pid}/stat`, "utf8").replace(/^.*\) /s, "").split(" ");
            parents.set(Number(pid), { parent: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]) });
        } catch { } // gone meanwhile
    }
    const ofBrowser = (pid) => pid === browserPid || (parents.has(pid) && pid > 1 && ofBrowser(parents.get(pid).parent));
    for (const [pid, entry] of parents) {
        if (!ofBrowser(pid)) continue;
        let kind = "browser";
        try {
            kind = fs.readFileSync(`/proc/${pid}/cmdline`, "utf8").match(/--type=([\w-]+)/)?.[1] ?? kind;
        } catch { }
        ticks[kind] = (ticks[kind] ?? 0) + entry.ticks;
    }
    return ticks;
}

// Presses the keys that lead to a screen, then reports Chromium's share of a core over the
// following seconds there, in all and by kind of process.
async function measureShare(browser, what, seconds, keys) {
    for (const key of keys) {
        await browser.press(key);
        await sleep(100);
    }
    const before = ticksByKind(browser.chrome.pid);
    await sleep(seconds * 1000);
    const after = ticksByKind(browser.chrome.pid);
    const hz = Number(execFileSync("getconf", ["CLK_TCK"]));
    const share = (ticks) => `${((ticks * 100) / (hz * seconds)).toFixed(1)}%`;
    const kinds = Object.keys(after).map((kind) => [kind, after[kind] - (before[kind] ?? 0)]);
    const total = kinds.reduce((sum, [, ticks]) => sum + ticks, 0);
    console.log(`cpu: ${share(total)} of one core over ${seconds} s (${what}): ` +
        kinds.map(([kind, ticks]) => `${kind} ${share(ticks)}`).join(", "));
}

async function measureShares(seconds = 10) {
    const server = await serve();
    const browser = await openPage(server, "index.html");
    await waitForStillTitle(browser);
    await measureShare(browser, "title menu", Number(seconds), []);
    await measureShare(browser, "high-score table", Number(seconds), ["Down", "Down", "Return"]);
    // back to the title menu, New Game
    await measureShare(browser, "play at level 1", Number(seconds), ["Return", "Up", "Up", "Return"]);
    await browser.close();
    server.close();
}

if (mode === "figures" && rest.length >= 2) await measureFigures(...rest);
else if (mode === "cpu") await measureShares(...rest);
else fail("usage: node bench/web.mjs figures WEB_DIR ZIP OUTPUT_JSON [PRESSES] | cpu WEB_DIR [SECONDS]");
