// Loaded first in <head> by tools/check-page-layout. It records the page's errors from the start;
// once the page has loaded it opens every <details>, measures the rendered text and writes its
// verdict into <pre id="layout-verdict">, which the browser's dump of the DOM carries back.
//
// Sizes are CSS pixels. The body text is the computed font-size of <body> (the paragraphs without
// a size of their own inherit it): a chart's text may not be larger than what the reader reads.
(function() {
'use strict';
const kLeastFontPx = 11;
// Boxes sharing less than this are touching, as neighbours laid out edge to edge do after
// rounding, not overlapping.
const kOverlapPx = 0.5;
const kOutsidePx = 0.5;
const kLargerPx = 0.05;

const errors = [];
window.addEventListener('error', (event) => {
  const target = event.target;
  if (target && target !== window && target.tagName) {
    errors.push(
        `could not load <${target.tagName.toLowerCase()}> ${target.src || target.href || ''}`);
  } else {
    errors.push(`${event.message} (${event.filename}:${event.lineno}:${event.colno})`);
  }
}, true);
window.addEventListener('unhandledrejection', (event) => {
  errors.push(`unhandled promise rejection: ${String(event.reason)}`);
});
const originalError = console.error.bind(console);
console.error = (...args) => {
  errors.push(`console.error: ${args.map(String).join(' ')}`);
  originalError(...args);
};

const fixed = (value) => value.toFixed(1);
const quoted = (text) => {
  const flat = text.replace(/\s+/g, ' ').trim();
  return JSON.stringify(flat.length > 70 ? `${flat.slice(0, 67)}...` : flat);
};
const boxText = (box) =>
    `[x ${fixed(box.left)}..${fixed(box.right)}, y ${fixed(box.top)}..${fixed(box.bottom)}]`;

// Page coordinates, so that a box in a message is found again with the page scrolled.
function pageBox(left, top, right, bottom) {
  return {
    left: left + window.scrollX,
    top: top + window.scrollY,
    right: right + window.scrollX,
    bottom: bottom + window.scrollY
  };
}
const clientToPage = (rect) => pageBox(rect.left, rect.top, rect.right, rect.bottom);

function isDisplayed(element) {
  for (let node = element; node && node.nodeType === Node.ELEMENT_NODE; node = node.parentNode) {
    if (getComputedStyle(node).display === 'none') return false;
  }
  return getComputedStyle(element).visibility === 'visible';
}

// The headings above a node, from h2 down (h1 is the page's title), and the summary of the
// <details> that holds it: where a reader finds the chart.
function placeOf(node) {
  const levels = [];
  for (const heading of document.querySelectorAll('h1, h2, h3, h4, h5, h6')) {
    if (!(heading.compareDocumentPosition(node) & Node.DOCUMENT_POSITION_FOLLOWING)) break;
    const level = Number(heading.tagName[1]);
    levels.length = level;
    levels[level - 1] = heading.textContent.replace(/\s+/g, ' ').trim();
  }
  const parts = levels.slice(1).filter((text) => text);
  const details = node.parentElement && node.parentElement.closest('details');
  const summary = details && details.querySelector(':scope > summary');
  if (summary) parts.push(quoted(summary.textContent).slice(1, -1));
  return parts.length ? `under "${parts.join(' > ')}"` : 'above every heading';
}

function chartName(svg, index, count) {
  const label = svg.id ? `#${svg.id}` : svg.getAttribute('class') || 'svg';
  return `chart ${index + 1} of ${count} (${label}) ${placeOf(svg)}`;
}

function scrollsSideways(element) {
  for (let node = element.parentElement; node && node !== document.body;
       node = node.parentElement) {
    const overflow = getComputedStyle(node).overflowX;
    if (overflow === 'auto' || overflow === 'scroll') return true;
  }
  return false;
}

// A text's glyph box on the screen as four corners: a rotated axis title is a rotated box.
function screenQuad(text) {
  const box = text.getBBox();
  const matrix = text.getScreenCTM();
  return [
    [box.x, box.y], [box.x + box.width, box.y], [box.x + box.width, box.y + box.height],
    [box.x, box.y + box.height]
  ].map(([x, y]) => {
    const point = new DOMPoint(x, y).matrixTransform(matrix);
    return [point.x + window.scrollX, point.y + window.scrollY];
  });
}

function quadBox(quad) {
  const xs = quad.map((point) => point[0]);
  const ys = quad.map((point) => point[1]);
  return {
    left: Math.min(...xs),
    top: Math.min(...ys),
    right: Math.max(...xs),
    bottom: Math.max(...ys)
  };
}

// How deep two convex quads overlap: the least overlap of their projections on the normals of
// their edges (zero or less when one of them separates the two).
function overlapDepth(first, second) {
  let depth = Infinity;
  for (const quad of [first, second]) {
    for (let i = 0; i < 4; ++i) {
      const [x1, y1] = quad[i];
      const [x2, y2] = quad[(i + 1) % 4];
      const length = Math.hypot(x2 - x1, y2 - y1);
      if (length === 0) continue;
      const normal = [(y1 - y2) / length, (x2 - x1) / length];
      const project = (points) => points.map(([x, y]) => x * normal[0] + y * normal[1]);
      const a = project(first);
      const b = project(second);
      depth = Math.min(
          depth,
          Math.min(Math.max(...a), Math.max(...b)) - Math.max(Math.min(...a), Math.min(...b)));
    }
  }
  return depth;
}

// A <title> or <desc> inside a text is a tooltip, not drawn.
function drawnText(text) {
  let drawn = '';
  const walker = document.createTreeWalker(text, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (!node.parentElement.closest('title, desc')) drawn += node.data;
  }
  return drawn;
}

function measureChartTexts(svg) {
  const texts = [];
  for (const text of svg.querySelectorAll('text')) {
    if (text.closest('defs, clipPath, mask, marker, pattern, symbol')) continue;
    const drawn = drawnText(text);
    if (!drawn.trim() || !isDisplayed(text)) continue;
    const matrix = text.getScreenCTM();
    if (!matrix) continue;
    const quad = screenQuad(text);
    const fontPx = parseFloat(getComputedStyle(text).fontSize);
    const scale = Math.hypot(matrix.a, matrix.b);
    texts.push({
      element: text,
      label: quoted(drawn),
      quad,
      box: quadBox(quad),
      fontPx,
      scale,
      renderedPx: fontPx * scale
    });
  }
  return texts;
}

// One line per chart and kind: the chart's scale is most often the cause, shared by its texts.
function sizeFailure(texts, kind, name, chartBox, failures) {
  if (!texts.length) return;
  const sizes = texts.map(
      (text) => `${text.label} ${fixed(text.renderedPx)} px (font-size ` +
          `${fixed(text.fontPx)} px x scale ${text.scale.toFixed(3)})`);
  failures.push(
      `${texts.length} chart text${texts.length > 1 ? 's' : ''} ${kind}: ${name}, ` +
      `chart ${boxText(chartBox)}: ${sizes.join(', ')}`);
}

function checkChart(svg, name, bodyPx, failures) {
  const chartBox = clientToPage(svg.getBoundingClientRect());
  const texts = measureChartTexts(svg);
  const reachable = scrollsSideways(svg);
  const small = texts.filter((text) => text.renderedPx < kLeastFontPx - kLargerPx);
  const large = texts.filter((text) => text.renderedPx > bodyPx + kLargerPx);
  sizeFailure(small, `under ${kLeastFontPx} px`, name, chartBox, failures);
  sizeFailure(large, `larger than the body text (${fixed(bodyPx)} px)`, name, chartBox, failures);
  for (const text of texts) {
    const sides = [
      ['left', chartBox.left - text.box.left], ['right', text.box.right - chartBox.right],
      ['top', chartBox.top - text.box.top], ['bottom', text.box.bottom - chartBox.bottom]
    ].filter(([, by]) => by > kOutsidePx);
    for (const [side, by] of sides) {
      failures.push(
          `text leaves its chart on the ${side} by ${fixed(by)} px: ${name}: ${text.label} ` +
          `${boxText(text.box)}, chart ${boxText(chartBox)}`);
    }
    if (!reachable) checkInViewport(text.label, text.box, () => name, failures);
  }
  for (let i = 0; i < texts.length; ++i) {
    for (let j = i + 1; j < texts.length; ++j) {
      const a = texts[i];
      const b = texts[j];
      if (Math.min(a.box.right, b.box.right) - Math.max(a.box.left, b.box.left) <= kOverlapPx ||
          Math.min(a.box.bottom, b.box.bottom) - Math.max(a.box.top, b.box.top) <= kOverlapPx) {
        continue;
      }
      const depth = overlapDepth(a.quad, b.quad);
      if (depth > kOverlapPx) {
        failures.push(
            `texts overlap by ${fixed(depth)} px (the least move that parts them): ${name}: ${
                a.label} ${boxText(a.box)} and ` +
            `${b.label} ${boxText(b.box)}`);
      }
    }
  }
  return texts.length;
}

// where: a function naming the place, called only for a failure.
function checkInViewport(label, box, where, failures) {
  const right = document.documentElement.clientWidth + window.scrollX;
  const left = window.scrollX;
  if (left - box.left > kOutsidePx) {
    failures.push(`text leaves the viewport on the left by ${fixed(left - box.left)} px: ${
        where()}: ${label} ${boxText(box)}`);
  }
  if (box.right - right > kOutsidePx) {
    failures.push(
        `text leaves the viewport (${fixed(right)} px wide) on the right by ${
            fixed(box.right - right)} px: ` +
        `${where()}: ${label} ${boxText(box)}`);
  }
}

// The page's own text outside the charts: its size, and that it stays on the screen unless a
// scrolling box holds it.
function checkPageText(failures) {
  const skipped = 'script, style, noscript, template, svg, title, #layout-verdict';
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  let count = 0;
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const parent = node.parentElement;
    if (!parent || !node.data.trim() || parent.closest(skipped) || !isDisplayed(parent)) continue;
    const range = document.createRange();
    range.selectNodeContents(node);
    const rects = [...range.getClientRects()].filter((rect) => rect.width > 0 && rect.height > 0);
    if (!rects.length) continue;
    ++count;
    const box = clientToPage({
      left: Math.min(...rects.map((r) => r.left)),
      top: Math.min(...rects.map((r) => r.top)),
      right: Math.max(...rects.map((r) => r.right)),
      bottom: Math.max(...rects.map((r) => r.bottom))
    });
    // Named only for a failure: finding the headings above every text would be slow.
    const where = () => `<${parent.tagName.toLowerCase()}${
        parent.className ? ` class="${parent.className}"` : ''}> ${placeOf(parent)}`;
    const fontPx = parseFloat(getComputedStyle(parent).fontSize);
    if (fontPx < kLeastFontPx - kLargerPx) {
      failures.push(`text under ${kLeastFontPx} px: ${where()}: ${quoted(node.data)} ${
          boxText(box)} is ${fixed(fontPx)} px`);
    }
    if (!scrollsSideways(parent)) checkInViewport(quoted(node.data), box, where, failures);
  }
  return count;
}

function verdict() {
  for (const details of document.querySelectorAll('details')) details.open = true;
  const bodyPx = parseFloat(getComputedStyle(document.body).fontSize);
  const failures = [];
  const charts =
      [...document.querySelectorAll('svg')].filter((svg) => !svg.parentElement.closest('svg'));
  let chartTexts = 0;
  charts.forEach((svg, index) => {
    if (isDisplayed(svg))
      chartTexts += checkChart(svg, chartName(svg, index, charts.length), bodyPx, failures);
  });
  const pageTexts = checkPageText(failures);
  for (const error of errors) failures.push(`console error: ${error}`);
  const lines =
      [`viewport ${window.innerWidth}x${window.innerHeight}, body text ${fixed(bodyPx)} px, ` +
       `${charts.length} charts with ${chartTexts} texts, ${pageTexts} other texts, ` +
       `${failures.length} failures`];
  const pre = document.createElement('pre');
  pre.id = 'layout-verdict';
  pre.textContent = lines.concat(failures).join('\n');
  document.body.appendChild(pre);
}

// A moment after the load event, so that an error thrown by the page's own timers is caught.
window.addEventListener('load', () => setTimeout(verdict, 100));
})();
