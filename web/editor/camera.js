// Where the world is seen from: a canvas pixel is `(world - origin) * scale`.
export class Camera {
  constructor() {
    this.x = 0;
    this.y = 0;
    this.scale = 0.25;
  }

  toScreen(x, y) {
    return { x: (x - this.x) * this.scale, y: (y - this.y) * this.scale };
  }

  toWorld(x, y) {
    return { x: x / this.scale + this.x, y: y / this.scale + this.y };
  }

  // Moves the view by a distance in canvas pixels.
  pan(dx, dy) {
    this.x -= dx / this.scale;
    this.y -= dy / this.scale;
  }

  // Zooms by `factor`, the world point under canvas pixel (px, py) staying there.
  zoom(factor, px, py) {
    const before = this.toWorld(px, py);
    this.scale = Math.min(64, Math.max(1 / 64, this.scale * factor));
    this.x = before.x - px / this.scale;
    this.y = before.y - py / this.scale;
  }

  // The whole rectangle (x, y, width, height) in a canvas of the given size, with a margin.
  fit(rect, width, height) {
    const margin = 16;
    const scale = Math.min((width - 2 * margin) / rect.width, (height - 2 * margin) / rect.height);
    this.scale = Number.isFinite(scale) && scale > 0 ? scale : 1;
    this.x = rect.x - (width / this.scale - rect.width) / 2;
    this.y = rect.y - (height / this.scale - rect.height) / 2;
  }

  // The world rectangle a canvas of this size shows.
  visible(width, height) {
    return { left: this.x, top: this.y, right: this.x + width / this.scale, bottom: this.y + height / this.scale };
  }
}
