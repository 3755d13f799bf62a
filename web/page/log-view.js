// A program's output shown in a <pre>: one text node a line (a level's echo can be long),
// scrolled to the end once a frame.
export function logView(element) {
  let scrollPending = false;
  return {
    clear() { element.textContent = ''; },
    show(line) {
      element.append(line + '\n');
      if (scrollPending) return;
      scrollPending = true;
      requestAnimationFrame(() => {
        scrollPending = false;
        element.scrollTop = element.scrollHeight;
      });
    },
  };
}
