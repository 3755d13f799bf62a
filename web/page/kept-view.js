// The list of kept recordings: an entry a session, with its level, date, steps and outcome, and
// buttons to save it or to watch it.
import { CUT_OFF, recordingFacts } from './recording-text.js';

// What a kept recording says of itself; playing: its session still runs in this page.
export function describeKept(entry, playing) {
  const facts = recordingFacts(entry.bytes);
  return {
    level: entry.level || (facts.level ? `level ${facts.level}` : 'a level'),
    date: new Date(entry.date).toLocaleString(),
    steps: facts.steps,
    outcome: playing ? 'playing' : facts.end || CUT_OFF,
  };
}

function button(label, name, act) {
  const element = document.createElement('button');
  element.textContent = label;
  element.setAttribute('aria-label', `${label} the recording of ${name}`);
  element.addEventListener('click', act);
  return element;
}

// entries: [{entry, level, date, steps, outcome}]; actions: {save(entry), watch(entry)}.
export function showKept(list, entries, actions) {
  list.replaceChildren(...entries.map(({ entry, level, date, steps, outcome }) => {
    const item = document.createElement('li');
    const name = `${level}, ${date}`;
    item.append(`${name}, ${steps} steps, ${outcome} `,
      button('Save', name, () => actions.save(entry)), ' ', button('Watch', name, () => actions.watch(entry)));
    return item;
  }));
}
