// The page: loads the model, builds the forms from its catalogue, hands every entry to it and
// shows the state it returns. Files are made by the model and handed to the browser to save.
"use strict";

const page = {api: null, module: null, catalogue: null, controls: null, state: null, timings: {}};
window.coldroomPage = page;  // for the browser test's figures

function $(id) { return document.getElementById(id); }

function startColdRoom() {
  ColdRoom().then((module) => {
    page.module = module;
    const c = (name, args) => module.cwrap(name, "string", args || []);
    page.api = {
      start: c("cr_start"), state: c("cr_state"),
      taskText: c("cr_task_text", ["string", "string"]), taskChoose: c("cr_task_choose", ["string", "number"]),
      taskGroup: c("cr_task_group", ["number"]), confirm: c("cr_task_confirm"), change: c("cr_task_change"),
      cancel: c("cr_task_cancel"), newProject: c("cr_new"), enter: c("cr_enter", ["string", "string"]),
      margin: c("cr_margin", ["string"]), open: c("cr_open", ["string", "number", "number"]),
      file: c("cr_file", ["string"]), fileType: c("cr_file_type"),
      fileBytes: module.cwrap("cr_file_bytes", "number", []), fileSize: module.cwrap("cr_file_size", "number", []),
    };
    const catalogue = JSON.parse(page.api.start());
    if (catalogue.error) {
      $("loading").textContent = "Справочные таблицы не загружаются: " + catalogue.error;
      return;
    }
    page.catalogue = catalogue;
    buildPage(catalogue);
    const saved = localStorage.getItem("coldroom.margin");
    if (saved !== null) page.api.margin(saved);
    act(() => page.api.state());
    $("loading").hidden = true;
    page.timings.ready = performance.now();
    focusFirst();
  }, (error) => { $("loading").textContent = "Расчетная модель не загрузилась: " + error; });
}

function buildPage(catalogue) {
  $("version").textContent = catalogue.app + " " + catalogue.version;
  const title = (id) => catalogue.groups.find((g) => g.id === id).title;
  $("task-title").textContent = title("Task");
  $("room-frame-title").textContent = title("Room");
  catalogue.taskGroups.forEach((caption, i) => {
    const button = makeElement("button", {type: "button", "data-group": String(i)}, caption);
    button.addEventListener("click", () => act(() => page.api.taskGroup(i)));
    $("task-groups").append(button);
  });
  // The window's tabs: every group shown in neither the dialog nor the room's frame.
  const tabs = catalogue.groups.filter((g) => g.id !== "Task" && g.id !== "Room");
  tabs.forEach((g, i) => {
    const tab = makeElement("button", {type: "button", role: "tab", id: "tab-" + g.id, "aria-controls": "panel-" + g.id},
                            g.title);
    tab.addEventListener("click", () => showTab(g.id));
    tab.addEventListener("keydown", (e) => {
      const step = e.key === "ArrowRight" ? 1 : e.key === "ArrowLeft" ? -1 : 0;
      if (!step) return;
      const next = tabs[(i + step + tabs.length) % tabs.length].id;
      showTab(next);
      $("tab-" + next).focus();
    });
    $("tabs").append(tab);
    $("panel-" + g.id).setAttribute("aria-labelledby", "tab-" + g.id);
  });
  showTab(tabs[0].id);
  page.controls = buildForms(catalogue, entry);

  $("task-confirm").addEventListener("click", () => act(() => page.api.confirm()));
  $("task-cancel").addEventListener("click", () => act(() => page.api.cancel()));
  $("cmd-task").addEventListener("click", () => act(() => page.api.change()));
  $("cmd-new").addEventListener("click", () => {
    if (confirm("Начать новый проект? Несохраненные данные текущего проекта будут потеряны.")) act(() => page.api.newProject());
  });
  $("cmd-open").addEventListener("change", openChosenFile);
  $("cmd-save").addEventListener("click", () => download("cfg"));
  $("cmd-html").addEventListener("click", () => download("html"));
  $("cmd-csv").addEventListener("click", () => download("csv"));
  $("cmd-note").addEventListener("click", showNote);
  $("cmd-margin").max = String(catalogue.marginMax);
  $("cmd-margin").addEventListener("change", () => {
    act(() => page.api.margin($("cmd-margin").value));
    localStorage.setItem("coldroom.margin", String(page.state.margin));
  });
  $("note-close").addEventListener("click", closeNote);
  $("note-download").addEventListener("click", () => download("note"));
  document.addEventListener("keydown", (e) => {
    if (e.key !== "Escape") return;
    if (!$("note-view").hidden) closeNote();
    else if (page.state && page.state.step === "task" && page.state.canCancel) act(() => page.api.cancel());
  });
}

function showTab(id) {
  for (const tab of $("tabs").children) {
    const chosen = tab.id === "tab-" + id;
    tab.setAttribute("aria-selected", chosen ? "true" : "false");
    tab.tabIndex = chosen ? 0 : -1;
    $(tab.getAttribute("aria-controls")).hidden = !chosen;
  }
}

// An entry goes to the task dialog's rules or the room's editing layer by the field's form.
function entry(field, kind, value) {
  const started = performance.now();
  const api = page.api;
  if (field.form === "Task") {
    act(() => kind === "text" ? api.taskText(field.id, value) : api.taskChoose(field.id, value));
  } else {
    const text = kind === "text" ? value : kind === "list" ? String(value) : value ? "1" : "0";
    act(() => api.enter(field.id, text));
  }
  page.timings.lastEntry = performance.now() - started;
  const shown = page.state.fields[field.id];
  // A refused entry keeps the focus in its field, as the window keeps it.
  if (shown && shown.bad && page.state.messages.some((m) => m.kind === "error")) {
    const el = page.controls.get(field.id).el;
    setTimeout(() => { el.focus(); el.select && el.select(); }, 0);
  }
}

function act(call) {
  const state = JSON.parse(call());
  page.actions = (page.actions || 0) + 1;
  page.state = state;
  render(state);
  return state;
}

function render(state) {
  const task = state.step === "task";
  const stepChanged = page.shownStep !== undefined && page.shownStep !== state.step;
  page.shownStep = state.step;
  $("task-step").hidden = !task;
  $("room-step").hidden = task;
  $("task-cancel").hidden = !state.canCancel;
  for (const el of document.querySelectorAll(".room-only")) el.hidden = task;
  showFields(page.controls, state);
  showMessages(state.messages);
  if (state.computed) {
    showRows($("result-rows"), state.results);
    showRows($("product-rows"), state.product);
    showRows($("time-rows"), state.times);
    $("margin-line").textContent = state.marginLine;
    $("problem").textContent = state.problem;
    $("chart").innerHTML = chartSvg(state.chart);
    $("room-frame").style.setProperty("--room-colour", state.roomColour);
    $("cmd-margin").value = String(state.margin);
    if (!task && page.timings.firstResult === undefined) page.timings.firstResult = performance.now();
  }
  $("task-cycle").textContent = state.taskCycle;
  $("door-notice").textContent = state.doorNotice;
  $("door-notice").hidden = !state.doorNotice;
  $("notices").textContent = state.notices;
  $("notices").hidden = !state.notices;
  document.title = (state.title ? state.title + " — " : "") + "ColdRoom";
  // The focus goes where the person continues, as when one window gives way to the other.
  if (stepChanged) focusFirst();
}

function showRows(body, rows) {
  const html = rows.map((r) =>
    `<tr class="${r.indent ? "part" : ""}${r.on === false ? " off" : ""}"><th scope="row">${escapeHtml(r.caption)}</th>` +
    `<td data-control="${escapeHtml(r.control)}">${escapeHtml(r.v)}</td><td class="unit">${escapeHtml(r.unit)}</td></tr>`).join("");
  if (body.innerHTML !== html) body.innerHTML = html;
}

function escapeHtml(text) {
  return String(text).replace(/[&<>"]/g, (c) => ({"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;"})[c]);
}

function showMessages(messages) {
  const box = $("messages");
  box.replaceChildren();
  for (const m of messages) {
    const item = makeElement("div", {class: "message " + m.kind, role: m.kind === "error" ? "alert" : "status"});
    item.append(makeElement("strong", {}, m.title), makeElement("span", {class: "text"}, m.text.replace(/\r\n/g, "\n")));
    const close = makeElement("button", {type: "button", "aria-label": "Закрыть сообщение"}, "×");
    close.addEventListener("click", () => item.remove());
    item.append(close);
    box.append(item);
  }
}

// The loads as bars, in whole watts; a load that cannot be computed has no bar.
function chartSvg(bars) {
  const rowHeight = 19, labelWidth = 150, width = 420, valueWidth = 60;
  const values = bars.map((b) => b.watts).filter((w) => w !== null);
  const low = Math.min(0, ...values), high = Math.max(1, ...values);
  const span = width - labelWidth - valueWidth;
  const x = (w) => labelWidth + (w - low) / (high - low) * span;
  let svg = `<svg viewBox="0 0 ${width} ${bars.length * rowHeight + 4}" xmlns="http://www.w3.org/2000/svg">`;
  bars.forEach((b, i) => {
    const y = i * rowHeight + 2;
    svg += `<text x="${labelWidth - 6}" y="${y + 13}" text-anchor="end">${escapeHtml(b.label)}</text>`;
    if (b.watts !== null) {
      const a = x(Math.min(0, b.watts)), z = x(Math.max(0, b.watts));
      svg += `<rect x="${a}" y="${y + 3}" width="${Math.max(1, z - a)}" height="${rowHeight - 6}" fill="${b.colour}"/>`;
    }
    svg += `<text x="${width - 2}" y="${y + 13}" text-anchor="end">${b.watts === null ? "—" : Math.round(b.watts)}</text>`;
  });
  return svg + `<line x1="${x(0)}" x2="${x(0)}" y1="0" y2="${bars.length * rowHeight + 4}" stroke="#444"/></svg>`;
}

function focusFirst() {
  const first = document.querySelector(page.state.step === "task" ? "#task-groups button" : "#group-Room input");
  if (first) first.focus();
}

// ---- Files --------------------------------------------------------------------------------

function openChosenFile() {
  const input = $("cmd-open");
  const chosen = input.files[0];
  if (!chosen) return;
  chosen.arrayBuffer().then((buffer) => {
    const bytes = new Uint8Array(buffer);
    const module = page.module;
    const at = module._malloc(Math.max(1, bytes.length));
    module.HEAPU8.set(bytes, at);
    try {
      act(() => page.api.open(chosen.name, at, bytes.length));
    } finally {
      module._free(at);
      input.value = "";
    }
  });
}

function madeFile(kind) {
  const name = page.api.file(kind);
  if (!name) {
    act(() => page.api.state());  // why it was not made
    return null;
  }
  const at = page.api.fileBytes(), size = page.api.fileSize();
  return {name, blob: new Blob([page.module.HEAPU8.slice(at, at + size)], {type: page.api.fileType()})};
}

function download(kind) {
  const file = madeFile(kind);
  if (!file) return;
  const link = makeElement("a", {download: file.name});
  link.href = URL.createObjectURL(file.blob);
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function showNote() {
  const file = madeFile("note");
  if (!file) return;
  page.noteReturn = document.activeElement;
  const frame = $("note-frame");
  if (frame.dataset.url) URL.revokeObjectURL(frame.dataset.url);
  frame.dataset.url = URL.createObjectURL(file.blob);
  frame.src = frame.dataset.url;
  $("note-view").hidden = false;
  $("note-close").focus();
}

function closeNote() {
  $("note-view").hidden = true;
  if (page.noteReturn) page.noteReturn.focus();
}
