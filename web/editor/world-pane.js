// The world pane: the canvas with its camera, the pictures the core decoded, and the pointer:
// right or middle drag (or space + drag) pans, the wheel zooms around the pointer, `f` fits the
// world, a click on a shape picks its record, a drag of a handle moves it, a drag with a tool
// draws a new record, Delete removes the selected one. The pane changes no text itself: it
// hands picks, finished drags and deletions to its owner.
import { Camera } from './camera.js';
import { drawWorld, handleAt, shapeAt } from './world-drawing.js';
import { dragged, handlesOf, placed, previewOf } from './record-handles.js';

function pictureNames(description) {
  const { background, tiles, entities } = description.scene;
  const names = new Set([...tiles, ...entities].map(item => item.picture));
  if (background) names.add(background.picture);
  names.delete(undefined);
  names.delete('');
  return names;
}

// The values of a record being drawn with a tool, from its first point to `point`.
function newValues(gesture, point, event) {
  const grid = Number(gesture.grid) || 0;
  const end = { x: placed(point.x, grid, event.altKey), y: placed(point.y, grid, event.altKey) };
  const { x, y } = gesture.start;
  if (gesture.tool === 'line') return { x, y, dx: end.x - x, dy: end.y - y };
  if (gesture.tool === 'arc') return { x, y, radius: Math.max(1, placed(Math.hypot(end.x - x, end.y - y), grid, event.altKey)) };
  return { x, y };
}

// options: {core, onPick(record), onDrag(record, values), onCreate(kind, values),
//   onDelete(record), onKey(event), grid(), tool()}
export function createWorldPane(canvas, options) {
  const camera = new Camera();
  const pictures = new Map(); // name -> ImageBitmap, or null while it loads or when it is none
  const scene = { description: null, pictures, selected: -1, flagged: new Map(), handles: [], preview: null };
  let gesture = null; // {pan: true, x, y}, {handle, grab, values} or {tool, grid, start, values}
  let spaceHeld = false;
  let fitted = false;
  let frame = 0;

  const draw = () => {
    frame = 0;
    drawWorld(canvas, camera, scene);
  };
  const redraw = () => {
    if (!frame) frame = requestAnimationFrame(draw);
  };
  const record = () => scene.description?.records?.[scene.selected];
  const canvasPoint = event => {
    const box = canvas.getBoundingClientRect();
    return { x: (event.clientX - box.left) * canvas.width / box.width, y: (event.clientY - box.top) * canvas.height / box.height };
  };

  const fit = () => {
    const world = scene.description?.world;
    if (!world) return;
    camera.fit({ x: 0, y: 0, width: world.width, height: world.height }, canvas.width, canvas.height);
    fitted = true;
    draw();
  };

  const loadPictures = async description => {
    const waits = [];
    for (const name of pictureNames(description)) {
      if (pictures.has(name)) continue;
      pictures.set(name, null);
      waits.push(options.core.picture(name).then(async picture => {
        if (!picture) return;
        const data = new ImageData(new Uint8ClampedArray(picture.rgba), picture.width, picture.height);
        pictures.set(name, await createImageBitmap(data));
      }).catch(() => {}));
    }
    await Promise.all(waits);
    if (waits.length) draw();
  };

  new ResizeObserver(() => {
    canvas.width = Math.max(1, canvas.clientWidth);
    canvas.height = Math.max(1, canvas.clientHeight);
    if (!fitted) fit();
    draw();
  }).observe(canvas);

  canvas.addEventListener('contextmenu', event => event.preventDefault());
  canvas.addEventListener('pointerdown', event => {
    canvas.focus();
    const at = canvasPoint(event);
    if (event.button === 1 || event.button === 2 || (event.button === 0 && spaceHeld)) {
      gesture = { pan: true, ...at };
    } else if (event.button === 0 && options.tool() !== 'select') {
      const start = camera.toWorld(at.x, at.y);
      gesture = { tool: options.tool(), grid: options.grid(), start: { x: placed(start.x, options.grid(), event.altKey), y: placed(start.y, options.grid(), event.altKey) } };
      gesture.values = newValues(gesture, start, event);
    } else if (event.button === 0) {
      const handle = handleAt(scene.handles, camera, at.x, at.y);
      if (handle) gesture = { handle, grab: camera.toWorld(at.x, at.y), values: null };
      else options.onPick(shapeAt(scene.description, camera, at.x, at.y));
    }
    if (gesture) canvas.setPointerCapture(event.pointerId);
    event.preventDefault();
  });
  canvas.addEventListener('pointermove', event => {
    if (!gesture) return;
    const at = canvasPoint(event);
    if (gesture.pan) {
      camera.pan(at.x - gesture.x, at.y - gesture.y);
      Object.assign(gesture, at);
    } else if (gesture.tool) {
      gesture.values = newValues(gesture, camera.toWorld(at.x, at.y), event);
      scene.preview = previewOf({ kind: gesture.tool }, gesture.values);
    } else {
      gesture.values = dragged(record(), gesture.handle, gesture.grab, camera.toWorld(at.x, at.y), options.grid(), event.altKey);
      scene.preview = previewOf(record(), gesture.values);
    }
    redraw();
  });
  const endGesture = () => {
    const done = gesture;
    gesture = null;
    scene.preview = null;
    if (done && done.tool) options.onCreate(done.tool, done.values);
    else if (done && done.values) options.onDrag(record(), done.values);
    redraw();
  };
  canvas.addEventListener('pointerup', endGesture);
  canvas.addEventListener('pointercancel', endGesture);
  canvas.addEventListener('wheel', event => {
    const at = canvasPoint(event);
    camera.zoom(Math.exp(-event.deltaY * 0.0015), at.x, at.y);
    event.preventDefault();
    redraw();
  }, { passive: false });
  canvas.addEventListener('keydown', event => {
    if (event.key === ' ') {
      spaceHeld = true;
      event.preventDefault();
    } else if (event.key === 'f' && !event.ctrlKey && !event.metaKey && !event.altKey) {
      fit();
    } else if (event.key === 'Delete' || event.key === 'Backspace') {
      if (record()) options.onDelete(record());
      event.preventDefault();
    } else {
      options.onKey(event);
    }
  });
  canvas.addEventListener('keyup', event => {
    if (event.key === ' ') spaceHeld = false;
  });

  return {
    // A new description: drawn now; resolves once its pictures are drawn too.
    show(description) {
      scene.description = description;
      scene.flagged = description.flagged || new Map(); // record -> its findings' worst severity
      scene.handles = handlesOf(record());
      if (!fitted) fit();
      draw();
      return description.ok ? loadPictures(description) : Promise.resolve();
    },
    select(index) {
      if (index === scene.selected) return;
      scene.selected = index;
      scene.handles = handlesOf(record());
      redraw();
    },
    // Pictures of another folder.
    forgetPictures() {
      pictures.clear();
      fitted = false;
    },
    worldToClient(x, y) {
      const box = canvas.getBoundingClientRect();
      const at = camera.toScreen(x, y);
      return { x: box.left + at.x * box.width / canvas.width, y: box.top + at.y * box.height / canvas.height };
    },
  };
}
