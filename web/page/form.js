// The forms, made from the field catalogue the model hands over: every field is placed in its
// group's container by its kind, and shows what the state says. No field is named here.
"use strict";

function makeElement(tag, attributes, text) {
  const el = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes || {})) el.setAttribute(name, value);
  if (text !== undefined) el.textContent = text;
  return el;
}

function fieldLabel(field) {
  return field.unit ? field.caption + ", " + field.unit : field.caption;
}

// Builds every field of the catalogue into #group-<group>; `on` receives the person's entries:
// on(field, kind, value) with kind "text", "list" (a position), "option" or "check" (true/false).
function buildForms(catalogue, on) {
  const controls = new Map();  // field id -> {field, el, extra}
  const byId = new Map(catalogue.fields.map((f) => [f.id, f]));
  const placedPairs = new Set();
  for (const field of catalogue.fields) {
    const container = document.getElementById("group-" + field.group);
    if (!container) continue;
    const elementId = "f-" + field.id.replace(/\./g, "-");
    if (field.kind === "Text") {
      const box = makeElement("div", {class: "field text"});
      const input = makeElement("input", {id: elementId, type: "text", autocomplete: "off", spellcheck: "false",
                                          "data-field": field.id});
      if (field.hint) {
        input.title = field.hint;
        input.setAttribute("aria-describedby", elementId + "-hint");
      }
      const head = makeElement("div", {class: "head"});
      head.append(makeElement("label", {for: elementId}, fieldLabel(field)));
      if (field.hint) head.append(makeElement("span", {id: elementId + "-hint", class: "hint"}, field.hint));
      box.append(head, input);
      input.addEventListener("change", () => on(field, "text", input.value));
      controls.set(field.id, {field, el: input});
      container.append(box);
    } else if (field.kind === "List") {
      const box = makeElement("div", {class: "field list"});
      const select = makeElement("select", {id: elementId, "data-field": field.id});
      box.append(makeElement("label", {for: elementId}, fieldLabel(field)), select);
      select.addEventListener("change", () => {
        const option = select.selectedOptions[0];
        if (option && option.dataset.position !== undefined) on(field, "list", Number(option.dataset.position));
      });
      controls.set(field.id, {field, el: select, entries: null});
      container.append(box);
    } else if (field.kind === "Check") {
      const box = makeElement("div", {class: "field check"});
      const input = makeElement("input", {id: elementId, type: "checkbox", "data-field": field.id});
      const label = makeElement("label", {for: elementId});
      label.append(input, document.createTextNode(" " + field.caption));
      box.append(label);
      input.addEventListener("change", () => on(field, "check", input.checked));
      controls.set(field.id, {field, el: input});
      container.append(box);
    } else if (field.kind === "Option" && !placedPairs.has(field.pair)) {
      // Both options of a pair side by side, as one radio group.
      placedPairs.add(field.pair);
      const box = makeElement("div", {class: "field pair", role: "radiogroup"});
      for (const id of field.pair.split("|")) {
        const option = byId.get(field.form === "Task" ? "Produkt." + id : id);
        if (!option) continue;
        const optionId = "f-" + option.id;
        const input = makeElement("input", {id: optionId, type: "radio", name: field.pair, "data-field": option.id});
        const label = makeElement("label", {for: optionId});
        label.append(input, document.createTextNode(" " + option.caption));
        box.append(label);
        input.addEventListener("change", () => { if (input.checked) on(option, "option", true); });
        controls.set(option.id, {field: option, el: input});
      }
      container.append(box);
    }
  }
  return controls;
}

// Shows the state's values, lists, enabling and refused entries in the controls.
function showFields(controls, state) {
  for (const [id, control] of controls) {
    const s = state.fields[id];
    if (!s) continue;
    const {field, el} = control;
    el.disabled = !s.on;
    if (field.kind === "Text") {
      if (el.value !== s.v) el.value = s.v;
      el.setAttribute("aria-invalid", s.bad ? "true" : "false");
    } else if (field.kind === "List") {
      showList(control, state.lists[field.list] || [], s);
    } else {
      if (el.checked !== s.v) el.checked = s.v;
    }
  }
}

function showList(control, entries, s) {
  const select = control.el;
  // The text shown may be none of the entries (a project's title in place of its task).
  const key = entries.join("\n") + "\u0000" + s.v + "\u0000" + s.t;
  if (control.entries === key) return;
  control.entries = key;
  const options = [];
  entries.forEach((text, position) => {
    const option = makeElement("option", {"data-position": String(position)}, text);
    options.push(option);
  });
  let chosen = options[s.v];
  if (!chosen || chosen.textContent !== s.t) {
    // Shown in its entry's place, as the window's list shows a title over its entry.
    chosen = chosen ? makeElement("option", {"data-position": String(s.v)}, s.t) : makeElement("option", {disabled: ""}, s.t);
    options.unshift(chosen);
  }
  select.replaceChildren(...options);
  chosen.selected = true;
}
