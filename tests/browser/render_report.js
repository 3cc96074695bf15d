// Renders a report page in headless Chromium and checks what a reader would
// see: every chart container holds an SVG with drawn marks, no script error
// or failed chart reaches the console, the page asks nothing of the network,
// no two tick labels of an axis overlap, no axis calls the values
// "expression", the expected texts appear in the rendered page and the
// expected axis titles in its charts, and hovering a top gene's dot names
// its sample and value. Keeps a full-page screenshot (PNG) next to the page.
//
// Usage: node render_report.js --generator PROGRAM --shape SHAPE
//          --out DIR [--expect TEXT]... [--expect-axis TITLE]...
// Runs PROGRAM SHAPE DIR/report-SHAPE.html to write the page, then checks it
// and keeps DIR/report-SHAPE.png. Exits 0 when every check passes, 1 when
// one fails, and 77 (CTest's skip code here) when Chromium is not installed
// or the generator exits with 77 (its data are absent).
//
// Chromium is driven through the DevTools protocol over a pipe
// (--remote-debugging-pipe: JSON messages ending in a NUL byte on file
// descriptors 3 and 4), which needs no package beyond node itself.

'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const kChromium = process.env.CHROMIUM || '/usr/bin/chromium';
const kSkipExitCode = 77;
// Every chart must have been drawn within this time; the largest page needs
// about two seconds on the project's machines.
const kRenderTimeoutMs = 60000;
const kPollIntervalMs = 100;
// The viewport the screenshot is taken at: a common laptop screen's width.
const kViewportWidth = 1280;
const kViewportHeight = 900;

function parseArguments(argv) {
  const options = {expect: [], 'expect-axis': []};
  for (let i = 0; i < argv.length; i += 2) {
    const name = argv[i].replace(/^--/, '');
    const value = argv[i + 1];
    if (value === undefined) throw new Error('missing value for ' + argv[i]);
    if (name === 'expect' || name === 'expect-axis') {
      options[name].push(value);
    } else {
      options[name] = value;
    }
  }
  for (const required of ['generator', 'shape', 'out']) {
    if (!options[required]) throw new Error('missing --' + required);
  }
  return options;
}

// A DevTools protocol connection over Chromium's pipe.
class DevTools {
  constructor(browser) {
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.buffer = Buffer.alloc(0);
    this.toBrowser = browser.stdio[3];
    browser.stdio[4].on('data', (chunk) => this.receive(chunk));
  }

  receive(chunk) {
    this.buffer = Buffer.concat([this.buffer, chunk]);
    let end;
    while ((end = this.buffer.indexOf(0)) >= 0) {
      const message = JSON.parse(this.buffer.subarray(0, end).toString('utf8'));
      this.buffer = this.buffer.subarray(end + 1);
      if (message.id !== undefined && this.pending.has(message.id)) {
        const {resolve, reject, method} = this.pending.get(message.id);
        this.pending.delete(message.id);
        if (message.error) {
          reject(new Error(method + ': ' + message.error.message));
        } else {
          resolve(message.result);
        }
      } else if (message.method) {
        for (const listener of this.listeners) listener(message);
      }
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = {id, method, params};
    if (sessionId) message.sessionId = sessionId;
    this.toBrowser.write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, {resolve, reject, method}));
  }

  onEvent(listener) {
    this.listeners.push(listener);
  }
}

function startChromium(profileDir) {
  return childProcess.spawn(kChromium, [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--hide-scrollbars', '--remote-debugging-pipe', '--user-data-dir=' + profileDir,
    'about:blank',
  ], {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe']});
}

// What the page shows once settled, gathered inside the page: per chart its
// drawn marks, axis titles and the pairs of tick labels of one axis that
// touch or overlap (labels an overlap strategy hid are not drawn).
function inspectPage() {
  // A label's box: its advance width along its line, its font size across
  // (the em box, which holds the digits and capitals; the line box would add
  // the spacing between lines), turned with the label; centred where the
  // browser draws it. Boxes closer than a pixel make labels that read as one.
  const kLeastGap = 1;
  const labelBox = (text) => {
    const drawn = text.getBoundingClientRect();
    const along = text.getBBox().width;
    const across = parseFloat(getComputedStyle(text).fontSize);
    const turn = /rotate\(\s*(-?[\d.]+)/.exec(text.getAttribute('transform') || '');
    const upright = turn !== null && Math.abs(parseFloat(turn[1])) % 180 === 90;
    const width = upright ? across : along;
    const height = upright ? along : across;
    const x = drawn.left + drawn.width / 2;
    const y = drawn.top + drawn.height / 2;
    return {left: x - width / 2, right: x + width / 2, top: y - height / 2, bottom: y + height / 2};
  };
  const tooClose = (a, b) => a.left < b.right + kLeastGap && b.left < a.right + kLeastGap &&
      a.top < b.bottom + kLeastGap && b.top < a.bottom + kLeastGap;
  const shown = (text) => text.textContent !== '' && text.getAttribute('opacity') !== '0' &&
      getComputedStyle(text).opacity !== '0';
  const collisions = (container) => {
    const pairs = [];
    for (const axis of container.querySelectorAll('svg g.role-axis')) {
      const labels = Array.from(axis.querySelectorAll('g.role-axis-label text')).filter(shown)
          .map((text) => ({text: text.textContent, box: labelBox(text)}));
      for (let i = 0; i < labels.length; ++i) {
        for (let j = i + 1; j < labels.length; ++j) {
          if (tooClose(labels[i].box, labels[j].box)) {
            pairs.push(labels[i].text + ' / ' + labels[j].text);
          }
        }
      }
    }
    return pairs;
  };
  const charts = Array.from(document.querySelectorAll('.chart')).map((container) => ({
    id: container.id,
    svgs: container.querySelectorAll('svg').length,
    marks: container.querySelectorAll('svg g.role-mark > *').length,
    error: container.classList.contains('chart-error') ? container.textContent : '',
    axisTitles: Array.from(container.querySelectorAll('svg g.role-axis-title text'))
        .map((text) => text.textContent),
    collisions: collisions(container),
  }));
  return JSON.stringify({charts, text: document.body.innerText});
}

// The viewport position of the first dot of the first top gene's dot plot.
function firstDotCentre() {
  const dot = document.querySelector('#chart-top-gene-1 svg g.mark-symbol path');
  if (!dot) return null;
  dot.scrollIntoView({block: 'center'});
  const box = dot.getBoundingClientRect();
  return JSON.stringify({x: box.left + box.width / 2, y: box.top + box.height / 2});
}

// Hovers the first dot of the first top gene and returns the tooltip's text,
// or '' when none appears within a second.
async function hoverFirstDot(session) {
  const evaluate = async (expression) => (await session('Runtime.evaluate', {
    expression, returnByValue: true,
  })).result.value;
  const centre = await evaluate('(' + firstDotCentre.toString() + ')()');
  if (!centre) return '';
  const {x, y} = JSON.parse(centre);
  await session('Input.dispatchMouseEvent', {type: 'mouseMoved', x, y});
  const kTooltipWaitMs = 1000;
  for (let waited = 0; waited < kTooltipWaitMs; waited += kPollIntervalMs) {
    const text = await evaluate(
        '(function () { const t = document.getElementById("vg-tooltip-element");' +
        ' return t && t.classList.contains("visible") ? t.innerText : ""; })()');
    if (text) return text;
    await new Promise((resolve) => setTimeout(resolve, kPollIntervalMs));
  }
  return '';
}

async function renderAndCheck(pagePath, screenshotPath, expected, expectedAxes) {
  const failures = [];
  const profileDir = fs.mkdtempSync(path.join(os.tmpdir(), 'report-browser-'));
  const browser = startChromium(profileDir);
  let browserLog = '';
  browser.stdio[2].on('data', (chunk) => { browserLog += chunk; });
  const devtools = new DevTools(browser);
  try {
    const {targetId} = await devtools.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} =
        await devtools.send('Target.attachToTarget', {targetId, flatten: true});
    const session = (method, params) => devtools.send(method, params, sessionId);
    devtools.onEvent((event) => {
      if (event.sessionId !== sessionId) return;
      const params = event.params;
      if (event.method === 'Runtime.exceptionThrown') {
        const details = params.exceptionDetails;
        failures.push('script error: ' +
                      ((details.exception && details.exception.description) || details.text));
      } else if (event.method === 'Runtime.consoleAPICalled') {
        const text = params.args.map((a) => a.value ?? a.description).join(' ');
        if (params.type === 'error' || params.type === 'assert') {
          failures.push('console error: ' + text);
        } else if (params.type === 'warning') {
          // Chart warnings (a dropped encoding, say) do not fail the test
          // but are worth a look.
          process.stderr.write('console warning: ' + text + '\n');
        }
      } else if (event.method === 'Log.entryAdded' && params.entry.level === 'error') {
        failures.push('browser error: ' + params.entry.text);
      } else if (event.method === 'Network.requestWillBeSent') {
        const url = params.request.url;
        if (!/^(file|data|about|blob):/.test(url)) failures.push('network request: ' + url);
      }
    });
    for (const domain of ['Runtime', 'Log', 'Network', 'Page']) await session(domain + '.enable');
    await session('Emulation.setDeviceMetricsOverride', {
      width: kViewportWidth, height: kViewportHeight, deviceScaleFactor: 1, mobile: false,
    });
    const started = Date.now();
    await session('Page.navigate', {url: 'file://' + path.resolve(pagePath)});
    let settled = null;
    while (Date.now() - started < kRenderTimeoutMs) {
      const {result} = await session('Runtime.evaluate', {
        expression: 'document.body && document.body.getAttribute("data-charts")',
        returnByValue: true,
      });
      if (result.value) {
        settled = result.value;
        break;
      }
      await new Promise((resolve) => setTimeout(resolve, kPollIntervalMs));
    }
    const renderMs = Date.now() - started;
    if (settled === null) {
      failures.push('the charts did not settle within ' + kRenderTimeoutMs + ' ms');
    }
    const {result} = await session('Runtime.evaluate', {
      expression: '(' + inspectPage.toString() + ')()',
      returnByValue: true,
    });
    const page = JSON.parse(result.value);
    if (page.charts.length === 0) failures.push('the page has no chart container');
    for (const chart of page.charts) {
      if (chart.error) failures.push(chart.id + ': ' + chart.error);
      if (chart.svgs === 0) failures.push(chart.id + ': no svg');
      if (chart.marks === 0) failures.push(chart.id + ': svg without marks');
      for (const pair of chart.collisions) {
        failures.push(chart.id + ': tick labels overlap: ' + JSON.stringify(pair));
      }
      for (const title of chart.axisTitles) {
        if (/expression/i.test(title)) failures.push(chart.id + ': axis title ' + title);
      }
    }
    for (const text of expected) {
      if (!page.text.includes(text)) failures.push('text not shown: ' + JSON.stringify(text));
    }
    const axisTitles = page.charts.flatMap((chart) => chart.axisTitles);
    for (const title of expectedAxes) {
      if (!axisTitles.includes(title)) failures.push('axis title not shown: ' + JSON.stringify(title));
    }
    const tooltip = await hoverFirstDot(session);
    if (!/sample/.test(tooltip) || !/value/.test(tooltip)) {
      failures.push('hovering a dot shows no sample and value: ' + JSON.stringify(tooltip));
    }
    // Hover away again and scroll back, so the screenshot shows no tooltip.
    await session('Input.dispatchMouseEvent', {type: 'mouseMoved', x: 0, y: 0});
    await session('Runtime.evaluate', {expression: 'window.scrollTo(0, 0)'});
    const {cssContentSize} = await session('Page.getLayoutMetrics');
    const shot = await session('Page.captureScreenshot', {
      format: 'png',
      captureBeyondViewport: true,
      clip: {x: 0, y: 0, width: kViewportWidth, height: Math.ceil(cssContentSize.height), scale: 1},
    });
    fs.writeFileSync(screenshotPath, Buffer.from(shot.data, 'base64'));
    const bytes = fs.statSync(pagePath).size;
    process.stderr.write(`${path.basename(pagePath)}: ${bytes} bytes, ${page.charts.length} ` +
                         `charts (${settled}) drawn in ${renderMs} ms; hover shows ` +
                         `${JSON.stringify(tooltip)}; screenshot ${screenshotPath}\n`);
    await devtools.send('Browser.close').catch(() => {});
  } catch (error) {
    failures.push(String(error.stack || error));
    process.stderr.write(browserLog);
    browser.kill();
  } finally {
    await new Promise((resolve) => {
      if (browser.exitCode !== null) resolve();
      else browser.once('exit', resolve);
    });
    fs.rmSync(profileDir, {recursive: true, force: true});
  }
  return failures;
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  if (!fs.existsSync(kChromium)) {
    process.stderr.write('skipped: ' + kChromium + ' is not installed\n');
    return kSkipExitCode;
  }
  fs.mkdirSync(options.out, {recursive: true});
  const pagePath = path.join(options.out, 'report-' + options.shape + '.html');
  const screenshotPath = path.join(options.out, 'report-' + options.shape + '.png');
  const generated =
      childProcess.spawnSync(options.generator, [options.shape, pagePath], {stdio: 'inherit'});
  if (generated.status === kSkipExitCode) return kSkipExitCode;
  if (generated.status !== 0) throw new Error('the page generator failed: ' + options.generator);
  const failures =
      await renderAndCheck(pagePath, screenshotPath, options.expect, options['expect-axis']);
  for (const failure of failures) process.stderr.write('FAILED: ' + failure + '\n');
  return failures.length === 0 ? 0 : 1;
}

main().then((code) => process.exit(code), (error) => {
  process.stderr.write(String(error.stack || error) + '\n');
  process.exit(1);
});
