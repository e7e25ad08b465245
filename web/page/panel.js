// The side panel: the clock, the warp, and the chosen craft's numbers.
const fixed = (v, digits) => (typeof v === 'number' ? v.toFixed(digits) : '-');

export function showReadout(list, state, craftName) {
  const c = state.craft.find((x) => x.name === craftName);
  const rows = [
    ['time', `${fixed(state.t, 2)} s`],
    ['warp', `x${state.warp}${state.paused ? ' (paused)' : ''}`],
    ['steps', String(state.steps)],
  ];
  if (c) {
    rows.push(['propellant', `${fixed(c.propellant, 2)} kg`], ['mass', `${fixed(c.mass, 2)} kg`],
              ['speed', `${fixed(c.speed, 3)} m/s`],
              ['animations', c.animations.map((a) => fixed(a, 3)).join(', ') || 'none']);
  }
  list.replaceChildren(...rows.flatMap(([k, v]) => {
    const dt = document.createElement('dt');
    dt.textContent = k;
    const dd = document.createElement('dd');
    dd.textContent = v;
    dd.dataset.field = k;
    return [dt, dd];
  }));
}

export function showNotes(list, notes) {
  list.replaceChildren(...notes.map((n) => {
    const li = document.createElement('li');
    li.textContent = n;
    return li;
  }));
}
