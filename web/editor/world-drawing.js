// Draws a description's world on a 2-D canvas as the map of the replay tool draws it: the
// background stretched over its rectangle, tiles and pictures at their places, the overlay's
// shapes in their colours (the built-in scene dimmed), the world's edge and the winning line.
// Only what lies in the visible rectangle is drawn.

const DIMMED = 0.4;
const HANDLE = 5;

// The world rectangle a shape of the overlay covers, kept on the shape.
function boundsOf(shape) {
  if (shape.bounds) return shape.bounds;
  let left;
  let top;
  let right;
  let bottom;
  if (shape.shape === 'segment' || shape.shape === 'polyline') {
    const p = shape.points;
    left = right = p[0];
    top = bottom = p[1];
    for (let i = 2; i < p.length; i += 2) {
      left = Math.min(left, p[i]);
      right = Math.max(right, p[i]);
      top = Math.min(top, p[i + 1]);
      bottom = Math.max(bottom, p[i + 1]);
    }
  } else {
    const r = shape.shape === 'circle' ? Math.abs(shape.radius) : 0;
    left = shape.x - r;
    right = shape.x + r;
    top = shape.y - r;
    bottom = shape.y + r;
  }
  shape.bounds = { left, top, right, bottom };
  return shape.bounds;
}

function overlaps(a, view, slack) {
  return a.right >= view.left - slack && a.left <= view.right + slack &&
    a.bottom >= view.top - slack && a.top <= view.bottom + slack;
}

function finite(...numbers) {
  return numbers.every(Number.isFinite);
}

function drawPicture(context, camera, pictures, item, view) {
  const image = pictures.get(item.picture);
  const box = { left: item.x, top: item.y, right: item.x + item.width, bottom: item.y + item.height };
  if (!image || !finite(item.x, item.y, item.width, item.height) || !overlaps(box, view, 0)) return;
  const at = camera.toScreen(item.x, item.y);
  context.drawImage(image, at.x, at.y, item.width * camera.scale, item.height * camera.scale);
}

function tracePath(context, camera, shape) {
  context.beginPath();
  if (shape.shape === 'circle') {
    const at = camera.toScreen(shape.x, shape.y);
    context.arc(at.x, at.y, Math.abs(shape.radius) * camera.scale, 0, 2 * Math.PI);
    return;
  }
  const p = shape.points;
  for (let i = 0; i < p.length; i += 2) {
    const at = camera.toScreen(p[i], p[i + 1]);
    if (i === 0) context.moveTo(at.x, at.y);
    else context.lineTo(at.x, at.y);
  }
}

const FLAG_COLOURS = { error: '#ff3b30', warning: '#e3b341' };

// Strokes a shape (a dot: fills a square of `dot` pixels) in the given look.
function paint(context, camera, shape, { alpha, colour, width, dash, dot }) {
  context.globalAlpha = alpha;
  context.strokeStyle = context.fillStyle = colour;
  context.lineWidth = width;
  context.setLineDash(dash);
  if (shape.shape === 'dot') {
    const at = camera.toScreen(shape.x, shape.y);
    context.fillRect(at.x - dot / 2, at.y - dot / 2, dot, dot);
    return;
  }
  tracePath(context, camera, shape);
  context.stroke();
}

// A wide translucent stroke under a shape whose record has findings, in the worst one's colour.
function drawFlag(context, camera, shape, severity) {
  paint(context, camera, shape, { alpha: 0.35, colour: FLAG_COLOURS[severity], width: 9, dash: [], dot: 12 });
}

function drawShape(context, camera, shape, selected) {
  paint(context, camera, shape, {
    alpha: shape.record < 0 && !selected ? DIMMED : 1, colour: shape.colour, width: selected ? 3.5 : 1.5,
    dash: shape.dashed ? [6, 4] : [], dot: 4,
  });
}

function drawFrame(context, camera, world) {
  const corner = camera.toScreen(0, 0);
  context.globalAlpha = 1;
  context.setLineDash([]);
  context.lineWidth = 1;
  context.strokeStyle = '#8b949e';
  context.strokeRect(corner.x, corner.y, world.width * camera.scale, world.height * camera.scale);
  const win = camera.toScreen(world.winningX, 0);
  context.setLineDash([10, 6]);
  context.strokeStyle = '#3fb950';
  context.beginPath();
  context.moveTo(win.x, corner.y);
  context.lineTo(win.x, corner.y + world.height * camera.scale);
  context.stroke();
  context.setLineDash([]);
  context.fillStyle = '#8b949e';
  context.font = '12px sans-serif';
  context.fillText(`${world.width} × ${world.height}`, corner.x + 4, corner.y - 6);
  context.fillStyle = '#3fb950';
  context.fillText(`win at x ${world.winningX}`, win.x + 4, corner.y + 14);
}

function drawHandles(context, camera, handles) {
  context.globalAlpha = 1;
  context.setLineDash([]);
  context.lineWidth = 1.5;
  for (const handle of handles) {
    const at = camera.toScreen(handle.x, handle.y);
    context.fillStyle = '#0d1117';
    context.strokeStyle = '#ffffff';
    context.fillRect(at.x - HANDLE, at.y - HANDLE, 2 * HANDLE, 2 * HANDLE);
    context.strokeRect(at.x - HANDLE, at.y - HANDLE, 2 * HANDLE, 2 * HANDLE);
  }
}

// scene: {description, pictures (name -> drawable), selected (record index), flagged (record
// index -> the worst severity of its findings), handles, and
// preview: a shape standing for the selected record's shapes while a handle is dragged}
export function drawWorld(canvas, camera, scene) {
  const context = canvas.getContext('2d');
  context.setTransform(1, 0, 0, 1, 0, 0);
  context.globalAlpha = 1;
  context.fillStyle = '#0d1117';
  context.fillRect(0, 0, canvas.width, canvas.height);
  const description = scene.description;
  if (!description || !description.ok) return;
  const view = camera.visible(canvas.width, canvas.height);
  const world = description.world;
  context.imageSmoothingEnabled = camera.scale < 1;
  const { background, tiles, entities } = description.scene;
  if (background) {
    context.globalAlpha = 0.55;
    drawPicture(context, camera, scene.pictures, background, view);
  }
  context.globalAlpha = 1;
  for (const tile of tiles) drawPicture(context, camera, scene.pictures, tile, view);
  for (const entity of entities) {
    context.globalAlpha = entity.record < 0 ? DIMMED : 1;
    drawPicture(context, camera, scene.pictures, entity, view);
  }
  drawFrame(context, camera, world);
  const slack = 4 / camera.scale;
  for (const shape of description.overlay) {
    if (scene.preview && shape.record === scene.selected) continue;
    if (!overlaps(boundsOf(shape), view, slack)) continue;
    const severity = scene.flagged.get(shape.record);
    if (severity) drawFlag(context, camera, shape, severity);
    drawShape(context, camera, shape, shape.record === scene.selected && shape.record >= 0);
  }
  if (scene.preview) drawShape(context, camera, scene.preview, true);
  drawHandles(context, camera, scene.handles || []);
  context.globalAlpha = 1;
}

function distanceToSegment(px, py, x0, y0, x1, y1) {
  const dx = x1 - x0;
  const dy = y1 - y0;
  const length = dx * dx + dy * dy;
  const t = length > 0 ? Math.max(0, Math.min(1, ((px - x0) * dx + (py - y0) * dy) / length)) : 0;
  return Math.hypot(px - x0 - t * dx, py - y0 - t * dy);
}

// The record of the level's shape nearest to the canvas point within a few pixels, or -1.
export function shapeAt(description, camera, px, py) {
  if (!description || !description.ok) return -1;
  const at = camera.toWorld(px, py);
  const reach = 6 / camera.scale;
  let best = -1;
  let bestDistance = reach;
  for (const shape of description.overlay) {
    if (shape.record < 0) continue;
    let distance;
    if (shape.shape === 'circle') distance = Math.abs(Math.hypot(at.x - shape.x, at.y - shape.y) - Math.abs(shape.radius));
    else if (shape.shape === 'dot') distance = Math.hypot(at.x - shape.x, at.y - shape.y);
    else {
      distance = Infinity;
      const p = shape.points;
      for (let i = 2; i < p.length; i += 2) {
        distance = Math.min(distance, distanceToSegment(at.x, at.y, p[i - 2], p[i - 1], p[i], p[i + 1]));
      }
    }
    if (distance <= bestDistance) {
      best = shape.record;
      bestDistance = distance;
    }
  }
  return best;
}

// The handle under the canvas point, or null.
export function handleAt(handles, camera, px, py) {
  for (const handle of handles) {
    const at = camera.toScreen(handle.x, handle.y);
    if (Math.abs(at.x - px) <= HANDLE + 2 && Math.abs(at.y - py) <= HANDLE + 2) return handle;
  }
  return null;
}
