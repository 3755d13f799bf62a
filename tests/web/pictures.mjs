// Pictures for the browser tests: two PNG pictures compared in the page, and a bitmap's headers.

// How many pixels of two PNG pictures differ by more than `tolerance` in a channel, and by how
// much at most; the browser decodes them, the first drawn at the second's size pixel for pixel.
export function pixelDifference(page, first, second, tolerance) {
  return page.evaluate(async ([a, b, tolerance]) => {
    const decode = async base64 => createImageBitmap(await (await fetch('data:image/png;base64,' + base64)).blob());
    const [first, second] = [await decode(a), await decode(b)];
    const data = (bitmap, width, height) => {
      const context = new OffscreenCanvas(width, height).getContext('2d');
      context.imageSmoothingEnabled = false;
      context.drawImage(bitmap, 0, 0, width, height);
      return context.getImageData(0, 0, width, height).data;
    };
    const [p, q] = [data(first, second.width, second.height), data(second, second.width, second.height)];
    let over = 0;
    let most = 0;
    for (let i = 0; i < p.length; i += 4) {
      const d = Math.max(...[0, 1, 2].map(c => Math.abs(p[i + c] - q[i + c])));
      most = Math.max(most, d);
      if (d > tolerance) over += 1;
    }
    return { over, most, pixels: p.length / 4, shown: [first.width, first.height] };
  }, [first.toString('base64'), second.toString('base64'), tolerance]);
}

// A 24-bit bitmap's headers claiming width x height pixels, and no pixels.
export function bitmapHeader(width, height) {
  const header = Buffer.alloc(54);
  header.write('BM', 0, 'latin1');
  header.writeUInt32LE(54, 2);
  header.writeUInt32LE(54, 10);
  header.writeUInt32LE(40, 14);
  header.writeInt32LE(width, 18);
  header.writeInt32LE(height, 22);
  header.writeUInt16LE(1, 26);
  header.writeUInt16LE(24, 28);
  return header;
}
