// The problems pane: the lint's findings for the text on show, in the file's order, each a row
// that picks its word in the text, and the lint's summary line under them.

// The first `most` rows of a description: what problems() gives and the pane shows.
export function problemRows(description, most) {
  if (!description.ok) return [];
  return description.findings.slice(0, most).map(finding => ({
    line: finding.located ? finding.line : null,
    column: finding.located ? finding.column : null,
    severity: finding.severity,
    message: finding.message,
    file: finding.file,
  }));
}

// The row as quillfen-lint prints it.
export function lintLine(row) {
  const place = row.line === null ? row.file : `${row.file}:${row.line}:${row.column}`;
  return `${place}: ${row.severity}: ${row.message}`;
}

// Shows the description's findings, the first `most` of them; a click on a located row calls
// onPick(finding). Returns the rows shown.
export function showProblems(element, description, onPick, most) {
  const list = document.createElement('ol');
  const rows = problemRows(description, most);
  rows.forEach((row, index) => {
    const item = document.createElement('li');
    item.className = `problem ${row.severity}`;
    item.textContent = lintLine(row);
    if (row.line !== null) item.addEventListener('click', () => onPick(description.findings[index]));
    list.append(item);
  });
  const summary = document.createElement('p');
  summary.className = 'summary';
  if (description.ok) {
    summary.textContent = description.summary;
  } else {
    summary.textContent = description.message;
  }
  const hidden = description.ok ? description.findings.length - rows.length : 0;
  if (hidden > 0) summary.textContent += ` (the first ${rows.length} are listed, ${hidden} more are not)`;
  // What the world pane cannot show as the game would have it.
  const notes = [];
  if (description.stops) notes.push(`The game stops at start-up: ${description.stops}`);
  if (description.cutAt) notes.push(`The world shows the first ${description.cutAt} of ${description.recordCount} records.`);
  if (description.leftOut) notes.push(`Files the reader cannot take by their names: ${description.leftOut.join(', ')}.`);
  const notice = document.createElement('p');
  notice.className = 'notice';
  notice.textContent = notes.join(' ');
  element.replaceChildren(summary, ...(notes.length ? [notice] : []), list);
  return rows;
}
