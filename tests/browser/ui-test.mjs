// Drives the page of `tessel ui` in headless Chromium as a user would: the preferences through the
// host's dialogs (a new preset, a font substitution refused once and then made), a conversion of
// the project's sample with its page previews and package, and the server's token check.
//
//   node ui-test.mjs TESSEL_BINARY SCREENSHOT_DIR
//
// Environment: TESSEL_IDML_SCHEMA_DIR (validate the package against the schema there),
// CHROMIUM (default /usr/bin/chromium), TESSEL_UI_TEST_TIMEOUT (seconds, default 120).
import {spawn, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import {fileURLToPath} from 'node:url';

import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const sample = path.resolve(here, '../../samples/sample.mif');
const [binaryArg, shotsArg] = process.argv.slice(2);
if (!binaryArg || !shotsArg) {
    console.error('usage: node ui-test.mjs TESSEL_BINARY SCREENSHOT_DIR');
    process.exit(2);
}
const binary = path.resolve(binaryArg);
const shots = path.resolve(shotsArg);
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const totalSeconds = Number(process.env.TESSEL_UI_TEST_TIMEOUT || 120);
const kWait = 20000;   // the longest a single step waits for the page

const temp = fs.mkdtempSync(path.join(os.tmpdir(), 'tessel-ui-test-'));
const configDir = path.join(temp, 'config');
const workDir = path.join(temp, 'work');
const downloads = path.join(temp, 'downloads');
const env = {...process.env, TESSEL_CONFIG_DIR: configDir};

let server = null;
let serverExit = null;   // resolves with {code, signal}
let serverErr = '';
let browser = null;
let page = null;
const pageErrors = [];
const results = [];

// Never hang CI: everything stops after the time allowed.
const guard = setTimeout(() => {
    console.error(`not ok - the test took longer than ${totalSeconds} s`);
    finish(1);
}, totalSeconds * 1000);

async function finish(code) {
    clearTimeout(guard);
    if (browser) await browser.close().catch(() => {});
    if (server && server.exitCode === null && server.signalCode === null) server.kill('SIGKILL');
    const failed = results.filter(r => !r.ok).length;
    console.log(`${results.length - failed} passed, ${failed} failed`);
    if (code === 0 && failed === 0) fs.rmSync(temp, {recursive: true, force: true});
    else console.error(`files of this run kept in ${temp}`);
    process.exit(code || (failed ? 1 : 0));
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

class Failure extends Error {}
function check(condition, message) {
    if (!condition) throw new Failure(message);
}

// Runs one step; a failed step ends the test (later steps build on it).
async function step(name, body) {
    try {
        await body();
        results.push({name, ok: true});
        console.log(`ok ${results.length} - ${name}`);
    } catch (error) {
        results.push({name, ok: false});
        console.log(`not ok ${results.length} - ${name}`);
        console.log(`  ${error instanceof Failure ? error.message : error.stack || error}`);
        if (serverErr) console.log(`  server said:\n${serverErr.trim().split('\n').slice(-20).map(l => `    ${l}`).join('\n')}`);
        if (pageErrors.length) console.log(`  page errors:\n    ${pageErrors.join('\n    ')}`);
        if (page) await page.screenshot({path: path.join(shots, 'failure.png')}).catch(() => {});
        await finish(1);
    }
}

// --- Page helpers ---

// Waits until `find` (run in the page with `args`) gives an element, and returns it.
async function waitForElement(what, find, ...args) {
    try {
        const handle = await page.waitForFunction(find, {timeout: kWait, polling: 100}, ...args);
        return handle.asElement();
    } catch {
        throw new Failure(`the page never showed ${what}`);
    }
}

// The innermost dialog, once its title is `title`.
function topDialog(title) {
    return waitForElement(`the dialog "${title}"`, t => {
        const box = document.querySelector('#dialogs > .modal-layer:last-child > .dialog');
        if (!box || box.closest('[inert]')) return null;
        return box.querySelector('.dialog-title').textContent === t ? box : null;
    }, title);
}

function visibleIn(root, selector, what) {
    return waitForElement(what, (r, s) => [...r.querySelectorAll(s)].find(e => e.offsetParent !== null && !e.disabled),
                          root, selector);
}

async function clickText(selector, text) {
    const el = await waitForElement(`"${text}"`, (s, t) =>
        [...document.querySelectorAll(s)].find(e => e.textContent.trim() === t && e.offsetParent !== null), selector, text);
    await el.click();
}

function dialogCount() {
    return page.$$eval('#dialogs > .modal-layer', layers => layers.length);
}

// --- Server helpers ---

function startServer() {
    server = spawn(binary, ['ui', '--no-browser', '--folder', workDir], {env, stdio: ['ignore', 'pipe', 'pipe']});
    serverExit = new Promise(resolve => server.on('exit', (code, signal) => resolve({code, signal})));
    server.stderr.on('data', chunk => { serverErr += chunk; });
    server.on('error', error => { serverErr += `cannot start ${binary}: ${error.message}\n`; });
    const lines = readline.createInterface({input: server.stdout});
    return new Promise((resolve, reject) => {
        const timer = setTimeout(() => reject(new Failure('tessel ui printed no address within 20 s')), kWait);
        lines.once('line', line => {
            clearTimeout(timer);
            const found = line.match(/http:\/\/127\.0\.0\.1:(\d+)\/\?token=([0-9a-f]+)/);
            if (found) resolve({url: found[0], port: Number(found[1]), token: found[2]});
            else reject(new Failure(`the first line of tessel ui has no address: ${line}`));
        });
        serverExit.then(({code, signal}) => reject(new Failure(`tessel ui stopped at once (${code ?? signal})`)));
    });
}

// A raw request, with the headers the test chooses (a browser would not let it pick Host).
function rawGet(port, urlPath, headers = {}) {
    return new Promise((resolve, reject) => {
        const req = http.request({host: '127.0.0.1', port, path: urlPath, headers}, res => {
            let body = '';
            res.on('data', chunk => { body += chunk; });
            res.on('end', () => resolve({status: res.statusCode, body}));
        });
        req.on('error', reject);
        req.setTimeout(5000, () => req.destroy(new Error('no answer')));
        req.end();
    });
}

function run(args) {
    const result = spawnSync(binary, args, {env, encoding: 'utf8', timeout: 30000});
    return {status: result.status, out: result.stdout || '', err: result.stderr || ''};
}

// The names in a zip file, read from its central directory.
function zipNames(bytes) {
    const names = [];
    let end = bytes.length - 22;
    while (end >= 0 && bytes.readUInt32LE(end) !== 0x06054b50) end--;
    check(end >= 0, 'the package is not a zip file (no end of central directory)');
    const count = bytes.readUInt16LE(end + 10);
    let at = bytes.readUInt32LE(end + 16);
    for (let i = 0; i < count; i++) {
        check(bytes.readUInt32LE(at) === 0x02014b50, 'the package\'s zip directory is damaged');
        const nameLength = bytes.readUInt16LE(at + 28);
        const extra = bytes.readUInt16LE(at + 30);
        const comment = bytes.readUInt16LE(at + 32);
        names.push(bytes.toString('utf8', at + 46, at + 46 + nameLength));
        at += 46 + nameLength + extra + comment;
    }
    return names;
}

// --- The test ---

fs.mkdirSync(configDir, {recursive: true});
fs.mkdirSync(workDir, {recursive: true});
fs.mkdirSync(downloads, {recursive: true});
fs.mkdirSync(shots, {recursive: true});
fs.copyFileSync(sample, path.join(workDir, 'sample.mif'));
const presetName = 'Browser Preset';
let address = null;
let designFamily = null;

await step('tessel ui starts and prints its address', async () => {
    check(fs.existsSync(binary), `there is no program ${binary}`);
    check(fs.existsSync(chromium), `there is no browser ${chromium} (set CHROMIUM)`);
    address = await startServer();
});

await step('the page opens with the menus of the plug-ins', async () => {
    browser = await puppeteer.launch({executablePath: chromium, headless: true,
                                      args: ['--no-sandbox', '--disable-dev-shm-usage', '--disable-gpu'],
                                      defaultViewport: {width: 1280, height: 900}});
    page = await browser.newPage();
    page.on('pageerror', error => pageErrors.push(error.message));
    // A failed request is the server's answer, tested where it matters; anything else is the page's fault.
    page.on('console', message => {
        if (message.type() === 'error' && !/Failed to load resource|net::ERR_/.test(message.text())) pageErrors.push(message.text());
    });
    await page.goto(address.url, {waitUntil: 'domcontentloaded'});
    check(new URL(page.url()).search === '', `the token stays in the address bar: ${page.url()}`);
    await waitForElement('the menu bar', () => document.querySelector('#menubar [role=menuitem]'));
    const folder = await page.$eval('#folder', el => el.textContent);
    check(folder === workDir || fs.realpathSync(workDir) === folder, `the page shows the folder "${folder}", not ${workDir}`);
});

await step('Edit > Preferences > Tessel... opens the preferences dialog', async () => {
    await clickText('#menubar .menu-title', 'Edit');
    await clickText('#menubar .menu-item', 'Preferences');
    await clickText('#menubar .menu-item', 'Tessel...');
    await topDialog('Tessel');
    check(await page.$('#menubar .open') === null, 'the menu stays open after its entry was chosen');
});

await step('a new preset is made through the preset-name dialog', async () => {
    let prefs = await topDialog('Tessel');
    await (await visibleIn(prefs, 'button[aria-label="Create new preset"]', 'the button "Create new preset"')).click();
    const nameDialog = await topDialog('New Preset');
    check(await page.$eval('#dialogs > .modal-layer:first-child', el => el.inert), 'the preferences dialog still takes input under the preset-name dialog');
    const field = await visibleIn(nameDialog, '[data-widget-kind=text] input', 'the preset name field');
    await field.type(presetName);
    // OK straight after the last key: the typing must reach the dialog before the confirmation.
    await (await visibleIn(nameDialog, '[data-widget-id="1"]', 'OK')).click();
    prefs = await topDialog('Tessel');
    await waitForElement(`the preset "${presetName}" chosen`, (box, name) => {
        const select = box.querySelector('[data-widget-kind=dropdown] select');
        return select && select.selectedOptions[0] && select.selectedOptions[0].textContent === name ? select : null;
    }, prefs, presetName);
});

await step('an empty FrameMaker family is refused with an alert, and then a substitution is made', async () => {
    const prefs = await topDialog('Tessel');
    const panels = await visibleIn(prefs, '[data-widget-kind=panels] select', 'the panel switch');
    await panels.select('Font Substitution Table');
    await (await visibleIn(prefs, 'button[aria-label="Add new font substitution entry"]', 'the button "Add new font substitution entry"')).click();
    let entry = await topDialog('New Font Substitution');
    await (await visibleIn(entry, '[data-widget-id="1"]', 'OK')).click();
    const alert = await waitForElement('the alert', () => document.querySelector('#alert [role=alertdialog]'));
    const text = await alert.$eval('.alert-text', el => el.textContent);
    check(text === 'Please enter FrameMaker font family.', `the alert says "${text}"`);
    check(await alert.evaluate(box => box.contains(document.activeElement) && document.activeElement.tagName === 'BUTTON'),
          'the alert\'s default button does not have the focus');
    await page.keyboard.press('Enter');
    await waitForElement('the alert closed', () => document.querySelector('#alert').hidden ? document.body : null);
    entry = await topDialog('New Font Substitution');
    const family = await visibleIn(entry, '[data-widget-kind=combo] input', 'the FrameMaker family field');
    await waitForElement('the focus on the FrameMaker family after the refusal', f => document.activeElement === f ? f : null, family)
        .catch(async error => { console.log('  focus is on', await page.evaluate(() => document.activeElement.outerHTML.slice(0, 300))); throw error; });
    // Typed slowly, so that each key is sent and the states answering it come back while the
    // user goes on typing: none of them may take a letter back.
    // Keys come just after the page sent the last ones (it waits 250 ms), as its answer arrives.
    for (const [index, key] of [...'Palatino'].entries()) {
        await page.keyboard.type(key);
        await sleep(255 + (index * 7) % 40);
    }
    await page.keyboard.press('ArrowLeft');
    await page.keyboard.type('n');
    await sleep(270);
    await page.keyboard.press('Backspace');
    await page.keyboard.press('End');
    const typed = await family.evaluate(input => input.value);
    check(typed === 'Palatino', `the family field says "${typed}" after typing "Palatino"`);
    const designSelect = await visibleIn(entry, '[data-widget-kind=dropdown] select', 'the InDesign family drop-down');
    designFamily = await designSelect.evaluate(select => {
        const option = [...select.options].find(o => !o.disabled && o.textContent.trim());
        return option ? option.value : null;
    });
    check(designFamily, 'the InDesign family drop-down offers no family');
    await designSelect.select(designFamily);
    await (await visibleIn(entry, '[data-widget-id="1"]', 'OK')).click();
    const prefsAgain = await topDialog('Tessel');
    await waitForElement('the substitution in the table', (box, family) =>
        [...box.querySelectorAll('[data-widget-kind=list] tbody tr')].find(row =>
            row.offsetParent !== null && row.cells[0].textContent.includes('Palatino') && row.cells[1].textContent.includes(family)),
        prefsAgain, designFamily);
});

await step('the preferences are confirmed and stored', async () => {
    const prefs = await topDialog('Tessel');
    await prefs.screenshot({path: path.join(shots, 'preferences.png')});
    await (await visibleIn(prefs, '[data-widget-id="1"]', 'OK')).click();
    await waitForElement('the preferences dialog closed', () => document.querySelector('#dialogs').children.length === 0 ? document.body : null);
    const shown = run(['prefs', 'show', presetName]);
    check(shown.status === 0, `tessel prefs show "${presetName}" failed (${shown.status}): ${shown.err}`);
    check(shown.out.includes(`Preset: ${presetName}`), `tessel prefs show does not show the preset:\n${shown.out}`);
    const line = shown.out.split('\n').find(l => /^\s*Palatino\b/.test(l) && l.includes('->'));
    check(line && line.includes(designFamily), `tessel prefs show lists no Palatino -> ${designFamily}:\n${shown.out}`);
});

await step('a file chooser refuses a file outside the folder, and Escape cancels it and the dialog', async () => {
    await clickText('#menubar .menu-title', 'Edit');
    await clickText('#menubar .menu-item', 'Preferences');
    await clickText('#menubar .menu-item', 'Tessel...');
    const prefs = await topDialog('Tessel');
    await (await visibleIn(prefs, 'button[aria-label="Save presets to the file"]', 'the button "Save presets to the file"')).click();
    const name = await waitForElement('the save chooser', () => document.querySelector('#chooser:not([hidden]) [data-mode=save] input[type=text]'));
    await name.type('../outside');
    await page.click('#chooser .footer-main .primary');
    const error = await waitForElement('the refusal', () => {
        const p = document.querySelector('#chooser .dialog > .error');
        return p && !p.hidden && p.textContent ? p : null;
    });
    check(!fs.existsSync(path.join(temp, 'outside.tqp')), 'a preset file was written outside the folder');
    console.log(`  # the server says: ${await error.evaluate(p => p.textContent)}`);
    await page.keyboard.press('Escape');
    await waitForElement('the chooser closed', () => document.querySelector('#chooser').hidden ? document.body : null);
    await topDialog('Tessel');
    await page.keyboard.press('Escape');
    await waitForElement('the preferences dialog closed', () => document.querySelector('#dialogs').children.length === 0 ? document.body : null);
});

let job = null;
await step('the sample is converted and its pages are shown', async () => {
    const entry = await waitForElement('sample.mif in the Convert list', () => document.querySelector('#convert .entry[data-path="sample.mif"]'));
    await entry.click();
    await page.click('#convert-button');
    job = await waitForElement('a conversion of sample.mif', () =>
        [...document.querySelectorAll('#jobs .job')].find(j => j.querySelector('.job-name').textContent === 'sample.mif'));
    const state = await page.waitForFunction(j => ['done', 'failed'].includes(j.dataset.state) && j.dataset.state,
                                             {timeout: (totalSeconds - 30) * 1000, polling: 200}, job).then(h => h.jsonValue());
    const message = await job.$eval('.job-message', el => el.textContent);
    check(state === 'done', `the conversion failed: ${message}`);
    await waitForElement('the page previews loaded', j => {
        const images = [...j.querySelectorAll('.thumb img')];
        return images.length && images.every(img => img.complete && img.naturalWidth > 0) ? j : null;
    }, job);
    await page.screenshot({path: path.join(shots, 'conversion.png'), fullPage: true});
});

await step('a preview opens at full size', async () => {
    const shownWidth = await job.$eval('.thumb img', img => img.getBoundingClientRect().width);
    await (await job.$('.thumb')).click();
    const full = await waitForElement('the page at full size', () => {
        const img = document.querySelector('#page-overlay:not([hidden]) img.full-page');
        return img && img.complete && img.naturalWidth > 0 ? img : null;
    });
    const width = await full.evaluate(img => img.getBoundingClientRect().width);
    check(width > shownWidth * 2, `the full-size page is ${width} px wide, its preview ${shownWidth} px`);
    await page.keyboard.press('Escape');
    await waitForElement('the page overlay closed', () => document.querySelector('#page-overlay').hidden ? document.body : null);
});

await step('the package downloads and is a valid IDML package', async () => {
    const href = await job.$eval('a[data-package]', a => a.getAttribute('href'));
    const answer = await page.evaluate(async url => {
        const response = await fetch(url);
        const bytes = new Uint8Array(await response.arrayBuffer());
        let binary = '';
        for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
        return {status: response.status, disposition: response.headers.get('Content-Disposition') || '', data: btoa(binary)};
    }, href);
    check(answer.status === 200, `the package link answers ${answer.status}`);
    check(/attachment/i.test(answer.disposition) && /\.idml"?\s*$/i.test(answer.disposition),
          `the package is not sent as an .idml attachment: "${answer.disposition}"`);
    const bytes = Buffer.from(answer.data, 'base64');
    const file = path.join(downloads, 'sample.idml');
    fs.writeFileSync(file, bytes);
    const names = zipNames(bytes);
    check(names.includes('designmap.xml'), `the package has no designmap.xml: ${names.join(', ')}`);
    const schema = process.env.TESSEL_IDML_SCHEMA_DIR;
    if (schema) {
        const script = path.join(schema, '..', 'validate_schema.sh');
        const result = spawnSync(script, ['-a', schema, file], {encoding: 'utf8', timeout: 60000});
        check(result.status === 0, `the package schema refuses the package (${result.status ?? result.error}):\n${result.stdout}${result.stderr}`);
    } else {
        console.log('  # TESSEL_IDML_SCHEMA_DIR is not set: the package was not checked against the schema');
    }
});

await step('a dropped file is uploaded and converted', async () => {
    const before = await page.$$eval('#jobs .job', jobs => jobs.length);
    const input = await page.$('#upload-input');
    await input.uploadFile(path.join(workDir, 'sample.mif'));
    const uploaded = await waitForElement('a second conversion', n => {
        const jobs = document.querySelectorAll('#jobs .job');
        return jobs.length > n ? jobs[0] : null;
    }, before);
    const state = await page.waitForFunction(j => ['done', 'failed'].includes(j.dataset.state) && j.dataset.state,
                                             {timeout: (totalSeconds - 30) * 1000, polling: 200}, uploaded).then(h => h.jsonValue());
    check(state === 'done', `the uploaded file was not converted: ${await uploaded.$eval('.job-message', el => el.textContent)}`);
});

await step('the server refuses requests without the token or with another host', async () => {
    const bare = await rawGet(address.port, '/api/state');
    check(bare.status === 403, `a request without the token is answered ${bare.status}`);
    const page403 = await rawGet(address.port, '/');
    check(page403.status === 403, `the page without the token is answered ${page403.status}`);
    const host = await rawGet(address.port, `/api/state?token=${address.token}`, {Host: `attacker.example:${address.port}`});
    check(host.status === 403, `a request for another host is answered ${host.status}`);
    const good = await rawGet(address.port, `/api/state?token=${address.token}`);
    check(good.status === 200, `a request with the token is answered ${good.status}`);
});

await step('Ctrl-C stops the server, and the page says it is disconnected', async () => {
    server.kill('SIGINT');
    const stopped = await Promise.race([serverExit, new Promise(resolve => setTimeout(() => resolve(null), 10000))]);
    check(stopped, 'tessel ui did not stop within 10 s of SIGINT');
    check(stopped.code === 0 || stopped.signal === 'SIGINT' || stopped.code === 130, `tessel ui stopped with ${stopped.code ?? stopped.signal}`);
    await waitForElement('"disconnected"', () => document.querySelector('#connection.disconnected'));
});

await step('the page made no script errors', async () => {
    check(pageErrors.length === 0, `the page reported:\n    ${pageErrors.join('\n    ')}`);
});

await finish(0);
