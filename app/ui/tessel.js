// The page of `tessel ui`: shows the host's menus, dialogs, alerts and file choosers as the server
// describes them in its state, hands the user's actions back, and converts files. One generic
// renderer: no dialog has markup of its own, every one is drawn from its widget list.
'use strict';

(() => {

// ---------------------------------------------------------------------------------------------
// Small helpers

const $ = (selector, root = document) => root.querySelector(selector);

// Names set as attributes even where the element has a property of that name (whose type differs).
const kAttributeOnly = new Set(['list', 'role', 'spellcheck']);

// Makes an element: h('button.primary', {type: 'button', onclick: f}, 'OK').
function h(tag, props = {}, ...children) {
    const [name, ...classes] = tag.split('.');
    const el = document.createElement(name);
    if (classes.length) el.className = classes.join(' ');
    for (const [key, value] of Object.entries(props)) {
        if (value === undefined || value === null || value === false) continue;
        if (key.startsWith('on')) el.addEventListener(key.slice(2), value);
        else if (key === 'dataset') Object.assign(el.dataset, value);
        else if (key in el && !key.includes('-') && !kAttributeOnly.has(key)) el[key] = value;
        else el.setAttribute(key, value === true ? '' : value);
    }
    for (const child of children.flat()) {
        if (child === null || child === undefined || child === false) continue;
        el.append(child instanceof Node ? child : document.createTextNode(String(child)));
    }
    return el;
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Dialog texts carry Windows-style mnemonics ("Use &Variables"; "&&" is an ampersand) and the
// odd leading space from the resources: the page shows neither.
function cleanLabel(text) {
    return String(text || '').replace(/&(\S)/g, '$1').trim();
}

function formatSize(bytes) {
    if (bytes < 1024) return `${bytes} B`;
    if (bytes < 1024 * 1024) return `${(bytes / 1024).toFixed(1)} KB`;
    return `${(bytes / 1024 / 1024).toFixed(1)} MB`;
}

function formatSeconds(seconds) {
    return typeof seconds === 'number' ? `${seconds.toFixed(seconds < 10 ? 1 : 0)} s` : '';
}

let uniqueCount = 0;
const uniqueId = prefix => `${prefix}-${++uniqueCount}`;

// ---------------------------------------------------------------------------------------------
// Talking to the server

class ServerError extends Error {
    constructor(status, message) {
        super(message);
        this.status = status;
    }
}

async function request(method, url, {body, headers, timeout} = {}) {
    const abort = new AbortController();
    const timer = timeout ? setTimeout(() => abort.abort(), timeout) : null;
    let response;
    try {
        response = await fetch(url, {method, body, headers, credentials: 'same-origin', cache: 'no-store',
                                     signal: abort.signal});
    } finally {
        if (timer) clearTimeout(timer);
    }
    const type = response.headers.get('Content-Type') || '';
    const data = type.includes('json') ? await response.json().catch(() => null) : null;
    if (!response.ok) {
        const text = data && data.error ? data.error : `${response.status} ${response.statusText}`;
        throw new ServerError(response.status, text);
    }
    return data;
}

// POSTs form fields; an array value repeats its field, undefined leaves it out.
function post(url, fields) {
    const body = new URLSearchParams();
    for (const [key, value] of Object.entries(fields)) {
        if (Array.isArray(value)) value.forEach(v => body.append(key, v));
        else if (value !== undefined && value !== null) body.append(key, String(value));
    }
    return request('POST', url, {body});
}

function errorText(error) {
    if (error instanceof ServerError) return error.message;
    return 'The server cannot be reached.';
}

// ---------------------------------------------------------------------------------------------
// Dialog events: sent one after the other, typing first
//
// What the user types is sent as `type` events, a moment after the last key. Before any other
// event of a dialog the typing still waiting is sent, so that a click or OK sees it. The events of
// one dialog go in order through its own queue: an event that opens another dialog, an alert or a
// file chooser is answered only once that closes, and meanwhile the events of the new window must
// go on. A value the user changed is not overwritten from a state older than the server's answer
// to that change.

const eventQueues = new Map();    // dialog -> the promise of its last event
const pendingTypes = new Map();   // "dialog:widget" -> {dialog, widget, text, timer}
const changedSince = new Map();   // "dialog:widget" -> version the change is in (Infinity: not answered yet)
const kTypeDelay = 250;

function sendDialogEvent(dialog, event, fields = {}) {
    const previous = eventQueues.get(dialog) || Promise.resolve();
    const result = previous.then(() => post('/api/dialog', {dialog, event, ...fields}));
    eventQueues.set(dialog, result.catch(() => {}));
    return result;
}

function forgetClosedDialogs(open) {
    for (const dialog of eventQueues.keys()) if (!open.has(dialog)) eventQueues.delete(dialog);
}

function markChanged(key) {
    changedSince.set(key, Infinity);
}

function markAnswered(key, answer) {
    if (changedSince.get(key) === Infinity) changedSince.set(key, answer && answer.version ? answer.version : 0);
}

// Whether the shown value of a widget is the user's, newer than what `version` says.
function userOwnsValue(key, version) {
    return pendingTypes.has(key) || (changedSince.get(key) || 0) > version;
}

function noteTyping(dialog, widget, text) {
    const key = `${dialog}:${widget}`;
    const pending = pendingTypes.get(key);
    if (pending) clearTimeout(pending.timer);
    markChanged(key);
    pendingTypes.set(key, {dialog, widget, text, timer: setTimeout(flushTypes, kTypeDelay)});
}

// Sends every typing still waiting; resolves once the server has answered them all.
function flushTypes() {
    const sends = [];
    for (const [key, pending] of pendingTypes) {
        clearTimeout(pending.timer);
        pendingTypes.delete(key);
        sends.push(sendDialogEvent(pending.dialog, 'type', {widget: pending.widget, text: pending.text})
            .then(answer => markAnswered(key, answer), error => { markAnswered(key, null); showProblem(error); }));
    }
    return Promise.all(sends);
}

// An action on a dialog widget other than typing: the typing goes first.
async function dialogAction(dialog, event, fields = {}) {
    if (refusedFocus && refusedFocus.dialog === dialog) refusedFocus = null;   // the user has moved on
    const key = fields.widget !== undefined ? `${dialog}:${fields.widget}` : null;
    if (key && event === 'choose') markChanged(key);
    flushTypes();
    try {
        const answer = await sendDialogEvent(dialog, event, fields);
        if (key) markAnswered(key, answer);
        return answer;
    } catch (error) {
        if (key) markAnswered(key, null);
        showProblem(error);
        return null;
    }
}

// OK: a dialog that stays open was refused, and its `focus` names the widget to correct. The
// answer comes as soon as the host waits for the user again, often while the alert that explains
// the refusal shows, and `focus` is set only after that alert: so the page waits for a state, at
// least as new as the answer, with neither alert nor chooser, and a widget to focus.
async function confirmDialog(dialog) {
    const answer = await dialogAction(dialog, 'confirm');
    if (answer) {
        refusedFocus = {dialog, version: answer.version || 0};
        applyRefusedFocus();
    }
}

function cancelDialog(dialog) {
    return dialogAction(dialog, 'cancel');
}

// A short note at the top of the page about something that went wrong with an action.
let problemTimer = null;
function showProblem(error) {
    const status = $('#connection');
    status.textContent = errorText(error);
    status.className = 'problem';
    clearTimeout(problemTimer);
    problemTimer = setTimeout(() => { if (status.className === 'problem') { status.textContent = ''; status.className = ''; } }, 6000);
}

// ---------------------------------------------------------------------------------------------
// Icons of the buttons that have no label: chosen from what their tip says they do

const kIcons = [
    [/^(create|add|new)\b/i, 'M12 5v14M5 12h14'],
    [/^(rename|edit)\b/i, 'M4 20h4L19 9l-4-4L4 16zM13.5 6.5l4 4'],
    [/^(delete|delte|remove)\b/i, 'M5 7h14M10 7V5h4v2M7 7l1 12h8l1-12'],
    [/^(load|import|open)\b/i, 'M12 4v11M7 10l5 5 5-5M5 20h14'],
    [/^(save|export)\b/i, 'M12 15V4M7 9l5-5 5 5M5 20h14'],
];

function icon(tip) {
    const found = kIcons.find(([pattern]) => pattern.test(tip));
    return svgIcon(found ? found[1] : 'M6 12h.01M12 12h.01M18 12h.01');
}

function svgIcon(d) {
    const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
    svg.setAttribute('viewBox', '0 0 24 24');
    svg.setAttribute('aria-hidden', 'true');
    svg.setAttribute('class', 'icon');
    const path = document.createElementNS('http://www.w3.org/2000/svg', 'path');
    path.setAttribute('d', d);
    svg.append(path);
    return svg;
}

// ---------------------------------------------------------------------------------------------
// Menus: a menu bar from the entries' paths (Edit > Preferences > "Tessel...")

const menubar = {
    key: null,
    open: null,  // the top-level menu open

    render(menus) {
        const key = JSON.stringify(menus);
        if (key === this.key) return;
        this.key = key;
        const bar = $('#menubar');
        bar.replaceChildren();
        this.open = null;
        const root = {children: [], entries: []};
        for (const entry of menus) {
            let node = root;
            for (const name of entry.menu || []) {
                let child = node.children.find(c => c.name === name);
                if (!child) {
                    child = {name, children: [], entries: []};
                    node.children.push(child);
                    node.entries.push(child);
                }
                node = child;
            }
            node.entries.push(entry);
        }
        for (const item of root.entries) {
            if (item.children) bar.append(this.topMenu(item));
            else bar.append(this.entry(item, true));
        }
    },

    topMenu(node) {
        const list = this.list(node);
        const title = h('button.menu-title', {type: 'button', role: 'menuitem', 'aria-haspopup': 'menu',
                                               'aria-expanded': 'false'}, cleanLabel(node.name));
        const wrap = h('div.menu', {role: 'none'}, title, list);
        title.addEventListener('click', () => this.toggle(wrap));
        title.addEventListener('mouseenter', () => { if (this.open && this.open !== wrap) this.toggle(wrap); });
        title.addEventListener('keydown', event => {
            if (event.key === 'ArrowDown' || event.key === 'Enter' || event.key === ' ') {
                event.preventDefault();
                if (this.open !== wrap) this.toggle(wrap);
                this.focusFirst(list);
            } else if (event.key === 'ArrowRight' || event.key === 'ArrowLeft') {
                const titles = [...$('#menubar').querySelectorAll(':scope > .menu > .menu-title')];
                const next = titles[(titles.indexOf(title) + (event.key === 'ArrowRight' ? 1 : titles.length - 1)) % titles.length];
                if (next) next.focus();
            }
        });
        return wrap;
    },

    list(node) {
        const list = h('ul.menu-list', {role: 'menu', 'aria-label': cleanLabel(node.name)});
        for (const item of node.entries) {
            if (item.children) {
                const sub = this.list(item);
                const opener = h('button.menu-item.submenu-opener', {type: 'button', role: 'menuitem',
                                 'aria-haspopup': 'menu', 'aria-expanded': 'false'}, cleanLabel(item.name));
                const li = h('li.submenu', {role: 'none'}, opener, sub);
                const show = on => { li.classList.toggle('open', on); opener.setAttribute('aria-expanded', String(on)); };
                opener.addEventListener('click', () => show(true));
                li.addEventListener('mouseenter', () => show(true));
                li.addEventListener('mouseleave', () => show(false));
                opener.addEventListener('keydown', event => {
                    if (event.key === 'ArrowRight' || event.key === 'Enter') {
                        event.preventDefault();
                        show(true);
                        this.focusFirst(sub);
                    }
                });
                sub.addEventListener('keydown', event => {
                    if (event.key === 'ArrowLeft') {
                        event.preventDefault();
                        event.stopPropagation();
                        show(false);
                        opener.focus();
                    }
                });
                list.append(li);
            } else {
                list.append(h('li', {role: 'none'}, this.entry(item, false)));
            }
        }
        list.addEventListener('keydown', event => {
            if (event.key !== 'ArrowDown' && event.key !== 'ArrowUp') return;
            event.preventDefault();
            event.stopPropagation();
            const items = [...list.querySelectorAll(':scope > li > .menu-item:not([disabled])')];
            const at = items.indexOf(document.activeElement);
            const next = items[(at + (event.key === 'ArrowDown' ? 1 : items.length - 1) + items.length) % items.length];
            if (next) next.focus();
        });
        return list;
    },

    entry(entry, top) {
        const button = h(top ? 'button.menu-title' : 'button.menu-item', {type: 'button', role: 'menuitem',
                         disabled: !entry.enabled, 'aria-disabled': entry.enabled ? null : 'true',
                         dataset: {action: entry.action}}, cleanLabel(entry.name));
        button.addEventListener('click', async () => {
            this.close();
            try {
                await post('/api/menu', {action: entry.action});
            } catch (error) {
                showProblem(error);
            }
        });
        return button;
    },

    focusFirst(list) {
        const first = list.querySelector(':scope > li > .menu-item:not([disabled])');
        if (first) first.focus();
    },

    toggle(wrap) {
        const opening = this.open !== wrap;
        this.close();
        if (!opening) return;
        this.open = wrap;
        wrap.classList.add('open');
        wrap.querySelector('.menu-title').setAttribute('aria-expanded', 'true');
    },

    close() {
        for (const el of document.querySelectorAll('#menubar .open')) el.classList.remove('open');
        for (const el of document.querySelectorAll('#menubar [aria-expanded="true"]')) el.setAttribute('aria-expanded', 'false');
        this.open = null;
    },
};

document.addEventListener('click', event => {
    if (menubar.open && !menubar.open.contains(event.target)) menubar.close();
});

// ---------------------------------------------------------------------------------------------
// Dialog widgets: each kind makes its element once and updates it from every new state

function fieldWrap(w, control, labelText) {
    control.id = uniqueId('w');
    const label = h('label', {htmlFor: control.id}, labelText);
    return h('div.field', {}, label, control);
}

const widgetKinds = {
    static(w) {
        const el = h('p.w-static');
        return {el, update(w) {
            const text = cleanLabel(w.label);
            el.textContent = text;
            el.classList.toggle('heading', text.length < 40 && !/[.:!?]$/.test(text));
        }};
    },

    button(w, view) {
        const el = h('button.w-button', {type: 'button'});
        if (w.id === 1) el.classList.add('primary');
        el.addEventListener('click', () => {
            if (w.id === 1) confirmDialog(view.id);
            else if (w.id === 2) cancelDialog(view.id);
            else dialogAction(view.id, 'click', {widget: w.id});
        });
        let shown = null;
        return {el, focusable: el, update(w) {
            const label = cleanLabel(w.label);
            const tip = cleanLabel(w.tip);
            const key = `${label}\n${tip}`;
            if (key !== shown) {
                shown = key;
                el.replaceChildren(label ? label : icon(tip));
                el.classList.toggle('icon-button', !label);
                el.title = tip;
                // An icon is named by its tip; "?" by its tip or as help.
                if (!label) el.setAttribute('aria-label', tip);
                else if (label === '?') el.setAttribute('aria-label', tip || 'Help');
                else el.removeAttribute('aria-label');
            }
            el.disabled = !w.enabled;
        }};
    },

    text(w, view) {
        return textLike(w, view, null);
    },

    combo(w, view) {
        return textLike(w, view, h('datalist', {id: uniqueId('items')}));
    },

    dropdown(w, view) {
        const select = h('select');
        const el = fieldWrap(w, select, '');
        const label = el.querySelector('label');
        select.addEventListener('change', () => dialogAction(view.id, 'choose', {widget: w.id, index: select.selectedIndex}));
        return {el, focusable: select, update(w, version) {
            label.textContent = cleanLabel(w.label);
            label.hidden = !label.textContent;
            if (!label.textContent && w.tip) select.setAttribute('aria-label', cleanLabel(w.tip));
            fillOptions(select, w.items);
            if (!userOwnsValue(view.key(w.id), version)) select.selectedIndex = w.selected;
            select.disabled = !w.enabled;
        }};
    },

    panels(w, view) {
        const select = h('select.panel-switch', {'aria-label': 'Panel'});
        const el = h('div.field.panels', {}, select);
        select.addEventListener('change', () => dialogAction(view.id, 'choose', {widget: w.id, index: select.selectedIndex}));
        return {el, focusable: select, update(w, version) {
            if (w.label) select.setAttribute('aria-label', cleanLabel(w.label));
            fillOptions(select, w.items);
            if (!userOwnsValue(view.key(w.id), version)) select.selectedIndex = w.selected;
            select.disabled = !w.enabled;
        }};
    },

    radio(w, view) {
        const legend = h('legend');
        const choices = h('div.choices');
        const el = h('fieldset.w-radio', {}, legend, choices);
        const name = uniqueId('radio');
        let itemsKey = null;
        return {el, get focusable() { return el.querySelector('input:checked') || el.querySelector('input'); },
        update(w, version) {
            legend.textContent = cleanLabel(w.label);
            const key = JSON.stringify(w.items);
            if (key !== itemsKey) {
                itemsKey = key;
                choices.replaceChildren(...w.items.map((item, index) => {
                    const input = h('input', {type: 'radio', name, value: String(index)});
                    input.addEventListener('change', () => {
                        if (input.checked) dialogAction(view.id, 'choose', {widget: w.id, index});
                    });
                    return h('label.choice', {}, input, h('span', {}, cleanLabel(item.text)));
                }));
            }
            if (!userOwnsValue(view.key(w.id), version))
                choices.querySelectorAll('input').forEach((input, index) => { input.checked = index === w.selected; });
            el.disabled = !w.enabled;
        }};
    },

    list(w, view) {
        const head = h('thead');
        const body = h('tbody');
        const table = h('table.w-list', {tabIndex: 0, role: 'grid', 'aria-readonly': 'true'}, head, body);
        const el = h('div.list-frame', {}, table);
        let selected = -1;
        let enabled = true;
        let rowCount = 0;
        const choose = index => {
            if (!enabled || index < 0 || index >= rowCount) return;
            select(index);
            markChanged(view.key(w.id));
            dialogAction(view.id, 'choose', {widget: w.id, index});
        };
        const select = index => {
            selected = index;
            [...body.rows].forEach((row, i) => {
                row.classList.toggle('selected', i === index);
                row.setAttribute('aria-selected', String(i === index));
            });
            const row = body.rows[index];
            if (row) row.scrollIntoView({block: 'nearest'});
        };
        body.addEventListener('click', event => {
            const row = event.target.closest('tr');
            if (row && !(event.detail > 1)) choose(row.sectionRowIndex);
        });
        body.addEventListener('dblclick', event => {
            const row = event.target.closest('tr');
            if (!row || !enabled || row.sectionRowIndex >= rowCount) return;
            select(row.sectionRowIndex);
            dialogAction(view.id, 'doubleclick', {widget: w.id, index: row.sectionRowIndex});
        });
        table.addEventListener('keydown', event => {
            if (event.key === 'ArrowDown') choose(Math.min(rowCount - 1, selected + 1));
            else if (event.key === 'ArrowUp') choose(Math.max(0, selected - 1));
            else if (event.key === 'Home') choose(0);
            else if (event.key === 'End') choose(rowCount - 1);
            else if (event.key === 'Enter' && selected >= 0 && enabled) {
                dialogAction(view.id, 'doubleclick', {widget: w.id, index: selected});
            } else return;
            event.preventDefault();
            event.stopPropagation();
        });
        let headKey = null, rowsKey = null;
        return {el, focusable: table, update(w, version) {
            const hk = JSON.stringify(w.columns);
            if (hk !== headKey) {
                headKey = hk;
                head.replaceChildren(h('tr', {}, (w.columns || []).map(c => h('th', {scope: 'col'}, cleanLabel(c)))));
                table.setAttribute('aria-label', (w.columns || []).map(cleanLabel).join(', '));
            }
            const rk = JSON.stringify(w.rows);
            const rowsChanged = rk !== rowsKey;
            if (rowsChanged) {
                rowsKey = rk;
                rowCount = (w.rows || []).length;
                body.replaceChildren(...(w.rows || []).map(cells =>
                    h('tr', {'aria-selected': 'false'}, cells.map(cell => h('td', {}, cell)))));
                if (!rowCount) {
                    body.append(h('tr.empty', {}, h('td', {colSpan: Math.max(1, (w.columns || []).length)}, 'No entries')));
                }
            }
            if (!userOwnsValue(view.key(w.id), version) || rowsChanged) select(w.selected);
            else select(selected);
            enabled = w.enabled;
            table.classList.toggle('disabled', !enabled);
            table.setAttribute('aria-disabled', String(!enabled));
        }};
    },
};

function fillOptions(select, items) {
    const key = JSON.stringify(items || []);
    if (select.dataset.items === key) return;
    select.dataset.items = key;
    select.replaceChildren(...(items || []).map(item => item.separator
        ? h('option.separator', {disabled: true}, '──────────')
        : h('option', {}, cleanLabel(item.text))));
}

// A text field or a combo box (an editable text with suggestions).
function textLike(w, view, datalist) {
    const input = h('input', {type: 'text', autocomplete: 'off', spellcheck: 'false'});
    const el = fieldWrap(w, input, '');
    const label = el.querySelector('label');
    if (datalist) {
        input.setAttribute('list', datalist.id);
        el.append(datalist);
    }
    input.addEventListener('input', () => noteTyping(view.id, w.id, input.value));
    input.addEventListener('keydown', event => {
        if (event.key === 'Enter' && !event.isComposing) {
            event.preventDefault();
            confirmDialog(view.id);
        }
    });
    let itemsKey = null;
    return {el, focusable: input, update(w, version) {
        label.textContent = cleanLabel(w.label);
        if (datalist) {
            const key = JSON.stringify(w.items);
            if (key !== itemsKey) {
                itemsKey = key;
                datalist.replaceChildren(...(w.items || []).filter(i => !i.separator).map(i => h('option', {value: i.text})));
            }
        }
        // The user's typing stands until the server has it; then the server's text is the value
        // (a dialog may change a field itself), and the caret stays where it was.
        if (!userOwnsValue(view.key(w.id), version) && input.value !== (w.text || '')) {
            const focused = document.activeElement === input;
            const caret = input.selectionStart;
            input.value = w.text || '';
            if (focused && caret !== null) input.setSelectionRange(Math.min(caret, input.value.length), Math.min(caret, input.value.length));
        }
        input.disabled = !w.enabled;
    }};
}

// ---------------------------------------------------------------------------------------------
// Dialogs: one modal window per open dialog, outermost first; only the innermost takes events

let refusedFocus = null;   // {dialog, version}: an OK answered at `version`, whose outcome the state tells
let currentState = null;

class DialogView {
    constructor(dialog) {
        this.id = dialog.id;
        this.titleId = uniqueId('dialog-title');
        this.title = h('h2.dialog-title', {id: this.titleId});
        this.body = h('div.dialog-body');
        this.footer = h('div.dialog-footer');
        this.box = h('section.dialog', {role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': this.titleId,
                                        dataset: {dialogId: dialog.id}}, this.title, this.body, this.footer);
        this.root = h('div.modal-layer.dialog-layer', {}, this.box);
        this.structure = null;
        this.views = [];
        this.lastFocus = null;
        this.appliedFocus = dialog.focus;   // the `focus` the page has acted on
        this.box.addEventListener('focusin', event => { this.lastFocus = event.target; });
    }

    key(widget) {
        return `${this.id}:${widget}`;
    }

    update(dialog, version) {
        this.title.textContent = cleanLabel(dialog.title);
        const structure = dialog.widgets.map(w => `${w.kind}:${w.id}:${w.panel}`).join(',');
        if (structure !== this.structure) {
            this.structure = structure;
            this.build(dialog.widgets);
        }
        dialog.widgets.forEach((w, i) => {
            const view = this.views[i];
            view.update(w, version);
            view.el.hidden = w.shown === false;
        });
        for (const group of this.box.querySelectorAll('.group'))
            group.hidden = [...group.querySelectorAll('[data-widget-kind]')].every(el => el.hidden);
    }

    // Lays the widgets out in their order: buttons in a row go together (icon buttons beside the
    // field before them), and the buttons that end the list (OK, Cancel, help) make the footer.
    build(widgets) {
        this.body.replaceChildren();
        this.footer.replaceChildren();
        this.views = [];
        let footerFrom = widgets.length;
        while (footerFrom > 0 && widgets[footerFrom - 1].kind === 'button' && !widgets[footerFrom - 1].panel) footerFrom--;
        const footerStart = h('div.footer-extra');
        const footerEnd = h('div.footer-main');
        this.footer.append(footerStart, footerEnd);
        let toolbar = null;
        let previous = null;
        widgets.forEach((w, i) => {
            const make = widgetKinds[w.kind] || widgetKinds.static;
            const view = make(w, this);
            view.el.dataset.widgetId = w.id;
            view.el.dataset.widgetKind = w.kind;
            if (w.panel) view.el.dataset.panel = w.panel;
            this.views.push(view);
            if (i >= footerFrom) {
                (w.id === 1 || w.id === 2 ? footerEnd : footerStart).append(view.el);
            } else if (w.kind === 'button') {
                const iconOnly = !cleanLabel(w.label);
                if (!toolbar || toolbar.panel !== w.panel || toolbar.iconOnly !== iconOnly) {
                    toolbar = {el: h('div.toolbar.group', {role: 'group'}), panel: w.panel, iconOnly};
                    if (iconOnly && previous && ['dropdown', 'combo', 'text'].includes(previous.w.kind) && previous.w.panel === w.panel) {
                        const row = h('div.row.group');
                        previous.view.el.replaceWith(row);
                        row.append(previous.view.el, toolbar.el);
                    } else {
                        this.body.append(toolbar.el);
                    }
                }
                toolbar.el.append(view.el);
            } else {
                toolbar = null;
                this.body.append(view.el);
            }
            previous = {w, view};
        });
        this.footer.hidden = footerFrom === widgets.length;
    }

    // The first widget the user can act on (the focus when the dialog opens).
    firstFocusable() {
        for (const view of this.views) {
            const el = view.focusable;
            if (!el || view.el.hidden || el.disabled || el.closest('[hidden]')) continue;
            if (view.el.dataset.widgetKind === 'button') continue;
            return el;
        }
        return this.box.querySelector('.footer-main button:not([disabled])');
    }

    focusWidget(widget) {
        const index = currentState.dialogs.find(d => d.id === this.id)?.widgets.findIndex(w => w.id === widget);
        const view = index >= 0 ? this.views[index] : null;
        const el = view && view.focusable;
        if (!el) return false;
        el.focus();
        if (el.select) el.select();
        return true;
    }

    restoreFocus() {
        const el = this.lastFocus && this.box.contains(this.lastFocus) && !this.lastFocus.disabled ? this.lastFocus : this.firstFocusable();
        if (el) el.focus();
    }
}

const dialogViews = new Map();

function renderDialogs(state) {
    const host = $('#dialogs');
    const open = new Set(state.dialogs.map(d => d.id));
    forgetClosedDialogs(open);
    for (const [id, view] of dialogViews) {
        if (!open.has(id)) {
            view.root.remove();
            dialogViews.delete(id);
            if (refusedFocus && refusedFocus.dialog === id) refusedFocus = null;
        }
    }
    const fresh = [];
    state.dialogs.forEach((dialog, index) => {
        let view = dialogViews.get(dialog.id);
        if (!view) {
            view = new DialogView(dialog);
            dialogViews.set(dialog.id, view);
            fresh.push(view);
        }
        if (host.children[index] !== view.root) host.insertBefore(view.root, host.children[index] || null);
        view.update(dialog, state.version);
    });
    return fresh;
}

// Focuses the widget to correct in the innermost dialog: after an OK, or whenever `focus` names
// another widget than before.
function applyRefusedFocus() {
    const state = currentState;
    if (!state || state.alert || state.chooser || !state.dialogs.length) return;
    const dialog = state.dialogs[state.dialogs.length - 1];
    const view = dialogViews.get(dialog.id);
    if (!view || !dialog.focus) return;
    const asked = refusedFocus && refusedFocus.dialog === dialog.id && state.version >= refusedFocus.version;
    if (!asked && dialog.focus === view.appliedFocus) return;
    if (asked) refusedFocus = null;
    view.appliedFocus = dialog.focus;
    view.focusWidget(dialog.focus);
}

// ---------------------------------------------------------------------------------------------
// File browser: a folder below the server's folder, shown as a list to pick from; used by the
// file choosers and the Convert area

class FileBrowser {
    // options: {extension, several, selectFolders, label, onActivate(entry), onSelect(entry)}
    constructor(options) {
        this.options = options;
        this.dir = '';
        this.entries = [];
        this.selected = null;
        this.checked = new Set();
        this.up = h('button.up', {type: 'button', title: 'Up one folder', 'aria-label': 'Up one folder',
                                  onclick: () => this.load(parentOf(this.dir))}, '↑');
        this.crumbs = h('ol.crumbs', {'aria-label': 'Folder'});
        this.refresh = h('button.refresh', {type: 'button', title: 'Reload the list', 'aria-label': 'Reload the list',
                                            onclick: () => this.load(this.dir)}, '⟳');
        this.list = h('ul.file-list', {role: 'listbox', tabIndex: 0, 'aria-label': options.label || 'Files',
                                       'aria-multiselectable': options.several ? 'true' : null});
        this.error = h('p.error', {role: 'alert', hidden: true});
        this.root = h('div.file-browser', {}, h('div.file-path', {}, this.up, this.crumbs, this.refresh), this.list, this.error);
        this.list.addEventListener('keydown', event => this.key(event));
    }

    async load(dir) {
        this.showError('');
        try {
            const data = await request('GET', `/api/files?dir=${encodeURIComponent(dir)}`);
            this.dir = data.dir || '';
            this.entries = (data.entries || []).filter(e => e.folder || this.accepts(e.name));
            if (!this.entries.some(e => e.path === (this.selected && this.selected.path))) this.selected = null;
            this.render();
        } catch (error) {
            this.showError(errorText(error));
        }
        if (this.options.onSelect) this.options.onSelect(this.selected);
    }

    accepts(name) {
        const ext = this.options.extension;
        return !ext || name.toLowerCase().endsWith(`.${ext.toLowerCase()}`);
    }

    showError(text) {
        this.error.textContent = text;
        this.error.hidden = !text;
    }

    render() {
        this.up.disabled = !this.dir;
        const parts = this.dir ? this.dir.split('/') : [];
        this.crumbs.replaceChildren(
            h('li', {}, h('button.crumb', {type: 'button', onclick: () => this.load('')}, rootName())),
            ...parts.map((part, i) => h('li', {}, h('button.crumb', {type: 'button',
                onclick: () => this.load(parts.slice(0, i + 1).join('/'))}, part))));
        this.list.replaceChildren(...this.entries.map(entry => this.row(entry)));
        if (!this.entries.length)
            this.list.append(h('li.empty', {role: 'presentation'}, this.options.extension
                ? `No folders or .${this.options.extension} files here` : 'This folder is empty'));
        this.list.removeAttribute('aria-activedescendant');
        this.mark();
    }

    row(entry) {
        const li = h('li.entry', {id: uniqueId('entry'), role: 'option', 'aria-selected': 'false',
                                  dataset: {path: entry.path, kind: entry.folder ? 'folder' : 'file'}});
        if (this.options.several && !entry.folder) {
            const box = h('input', {type: 'checkbox', tabIndex: -1, 'aria-label': `Choose ${entry.name}`,
                                    checked: this.checked.has(entry.path)});
            box.addEventListener('change', () => this.toggleChecked(entry, box.checked));
            box.addEventListener('click', event => event.stopPropagation());
            li.append(box);
        }
        li.append(svgIcon(entry.folder ? kFolderIcon : kFileIcon),
                  h('span.name', {}, entry.name),
                  h('span.size', {}, entry.folder ? '' : formatSize(entry.size || 0)));
        if (entry.folder) {
            li.append(h('button.open-folder', {type: 'button', tabIndex: -1, title: `Open ${entry.name}`,
                                               'aria-label': `Open folder ${entry.name}`,
                                               onclick: event => { event.stopPropagation(); this.load(entry.path); }}, '›'));
        }
        li.addEventListener('click', () => this.select(entry));
        li.addEventListener('dblclick', () => this.activate(entry));
        return li;
    }

    toggleChecked(entry, on) {
        if (on) this.checked.add(entry.path);
        else this.checked.delete(entry.path);
        this.mark();
        if (this.options.onSelect) this.options.onSelect(this.selected);
    }

    select(entry) {
        if (entry && entry.folder && !this.options.selectFolders) {
            this.selected = entry;
        } else {
            this.selected = entry;
            if (entry && this.options.several && !entry.folder) this.toggleChecked(entry, !this.checked.has(entry.path));
        }
        this.mark();
        if (this.options.onSelect) this.options.onSelect(this.selected);
    }

    activate(entry) {
        if (entry.folder) this.load(entry.path);
        else if (this.options.onActivate) this.options.onActivate(entry);
    }

    mark() {
        for (const li of this.list.querySelectorAll('.entry')) {
            const on = !!this.selected && li.dataset.path === this.selected.path;
            li.classList.toggle('selected', on);
            li.setAttribute('aria-selected', String(this.options.several ? this.checked.has(li.dataset.path) : on));
            const box = li.querySelector('input[type=checkbox]');
            if (box) box.checked = this.checked.has(li.dataset.path);
            if (on) {
                this.list.setAttribute('aria-activedescendant', li.id);
                li.scrollIntoView({block: 'nearest'});
            }
        }
    }

    key(event) {
        const at = this.selected ? this.entries.findIndex(e => e.path === this.selected.path) : -1;
        if (event.key === 'ArrowDown' && this.entries.length) this.selected = this.entries[Math.min(this.entries.length - 1, at + 1)];
        else if (event.key === 'ArrowUp' && this.entries.length) this.selected = this.entries[Math.max(0, at - 1)];
        else if (event.key === 'Enter' && this.selected) { event.preventDefault(); this.activate(this.selected); return; }
        else if (event.key === ' ' && this.selected) { event.preventDefault(); this.select(this.selected); return; }
        else if (event.key === 'Backspace' && this.dir) { event.preventDefault(); this.load(parentOf(this.dir)); return; }
        else return;
        event.preventDefault();
        this.mark();
        if (this.options.onSelect) this.options.onSelect(this.selected);
    }
}

const kFolderIcon = 'M3 6.5A1.5 1.5 0 0 1 4.5 5H9l2 2h8.5A1.5 1.5 0 0 1 21 8.5v9a1.5 1.5 0 0 1-1.5 1.5h-15A1.5 1.5 0 0 1 3 17.5z';
const kFileIcon = 'M6 3h8l4 4v14H6zM14 3v4h4';

// The name of the server's folder, the root of every file list.
function rootName() {
    const folder = currentState && currentState.folder ? currentState.folder.replace(/\/+$/, '') : '';
    return baseName(folder) || folder || 'Folder';
}

function parentOf(dir) {
    const at = dir.lastIndexOf('/');
    return at < 0 ? '' : dir.slice(0, at);
}

function baseName(path) {
    return path.slice(path.lastIndexOf('/') + 1);
}

// ---------------------------------------------------------------------------------------------
// File choosers: the host asks for files (open, open several, save) or a folder

const chooser = {
    id: null,
    view: null,

    render(request) {
        const host = $('#chooser');
        if (!request) {
            if (this.id !== null) host.replaceChildren();
            this.id = null;
            host.hidden = true;
            return false;
        }
        if (request.id === this.id) return false;
        this.id = request.id;
        this.build(request);
        host.hidden = false;
        return true;
    },

    build(req) {
        const mode = req.mode;
        const titleId = uniqueId('chooser-title');
        const name = mode === 'save' ? h('input', {type: 'text', id: uniqueId('name'), autocomplete: 'off', spellcheck: 'false'}) : null;
        const error = h('p.error', {role: 'alert', hidden: true});
        const primary = h('button.primary', {type: 'button'},
                          {open: 'Open', openSeveral: 'Open', save: 'Save', folder: 'Choose folder'}[mode] || 'OK');
        const cancel = h('button', {type: 'button'}, 'Cancel');
        const browser = new FileBrowser({
            extension: mode === 'folder' ? null : req.extension,
            several: mode === 'openSeveral',
            selectFolders: mode === 'folder',
            label: req.title,
            onSelect: entry => {
                if (name && entry && !entry.folder) name.value = entry.name;
                updatePrimary();
            },
            onActivate: entry => {
                if (mode === 'open') this.answer([entry.path]);
                else if (mode === 'save') this.answer([joinPath(browser.dir, entry.name)]);
            },
        });
        const updatePrimary = () => {
            if (mode === 'open') primary.disabled = !(browser.selected && !browser.selected.folder);
            else if (mode === 'openSeveral') primary.disabled = browser.checked.size === 0;
            else if (mode === 'save') primary.disabled = !name.value.trim();
            else primary.disabled = false;
            if (mode === 'folder') {
                const chosen = browser.selected && browser.selected.folder ? browser.selected.path : browser.dir;
                primary.textContent = `Choose “${chosen ? baseName(chosen) : 'Folder'}”`;
            }
        };
        const paths = () => {
            if (mode === 'open') return browser.selected && !browser.selected.folder ? [browser.selected.path] : [];
            if (mode === 'openSeveral') return [...browser.checked];
            if (mode === 'save') {
                let file = name.value.trim();
                if (req.extension && !baseName(file).includes('.')) file += `.${req.extension}`;
                return [joinPath(browser.dir, file)];
            }
            return [browser.selected && browser.selected.folder ? browser.selected.path : browser.dir];
        };
        primary.addEventListener('click', () => this.answer(paths()));
        cancel.addEventListener('click', () => this.answer([]));
        const filter = req.filter || req.extension
            ? h('p.hint', {}, [req.filter, req.extension ? `(*.${req.extension})` : ''].filter(Boolean).join(' ')) : null;
        const parts = [h('h2.dialog-title', {id: titleId}, req.title || 'Choose'), filter, browser.root];
        if (name) {
            name.addEventListener('input', updatePrimary);
            name.addEventListener('keydown', event => {
                if (event.key === 'Enter' && !primary.disabled) { event.preventDefault(); primary.click(); }
            });
            parts.push(h('div.field', {}, h('label', {htmlFor: name.id}, 'Name:'), name));
        }
        parts.push(error, h('div.dialog-footer', {}, h('div.footer-extra'), h('div.footer-main', {}, primary, cancel)));
        const box = h('section.dialog.chooser', {role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': titleId,
                                                 dataset: {chooserId: req.id, mode}}, ...parts);
        $('#chooser').replaceChildren(h('div.modal-layer', {}, box));
        this.view = {browser, error, primary, name, buttons: [primary, cancel]};
        updatePrimary();
        browser.load('').then(() => { updatePrimary(); (name || browser.list).focus(); });
    },

    async answer(paths) {
        const id = this.id;
        const view = this.view;
        view.error.hidden = true;
        view.buttons.forEach(b => { b.disabled = true; });
        try {
            const answer = await post('/api/chooser', {chooser: id, path: paths});
            if (answer && answer.ok === false && this.id === id) {
                view.error.textContent = 'This choice was not taken; please choose again.';
                view.error.hidden = false;
            }
        } catch (error) {
            if (this.id === id) {
                view.error.textContent = errorText(error);
                view.error.hidden = false;
            }
        } finally {
            view.buttons.forEach(b => { b.disabled = false; });
        }
    },

    cancel() {
        if (this.id !== null) this.answer([]);
    },
};

function joinPath(dir, name) {
    return dir ? `${dir}/${name}` : name;
}

// ---------------------------------------------------------------------------------------------
// Alerts: modal above everything the host shows

const alertBox = {
    id: null,
    buttons: [],
    request: null,

    render(req) {
        const host = $('#alert');
        if (!req) {
            if (this.id !== null) host.replaceChildren();
            this.id = null;
            this.request = null;
            host.hidden = true;
            return false;
        }
        if (req.id === this.id) return false;
        this.id = req.id;
        this.request = req;
        const textId = uniqueId('alert-text');
        const kind = req.kind || 'information';
        this.buttons = (req.buttons || ['OK']).map((label, index) => h(index === req.default ? 'button.primary' : 'button',
            {type: 'button', onclick: () => this.answer(index)}, cleanLabel(label)));
        const box = h('section.alert-box', {role: 'alertdialog', 'aria-modal': 'true', 'aria-describedby': textId,
                                            'aria-label': {information: 'Information', warning: 'Warning', error: 'Error',
                                                           question: 'Question'}[kind] || 'Alert',
                                            dataset: {alertId: req.id, kind}},
            h('div.alert-content', {}, h('span.alert-icon', {'aria-hidden': 'true'},
                                          {warning: '!', error: '×', question: '?'}[kind] || 'i'),
              h('p.alert-text', {id: textId}, req.text)),
            h('div.dialog-footer', {}, h('div.footer-extra'), h('div.footer-main', {}, this.buttons)));
        host.replaceChildren(h('div.modal-layer.alert-layer', {}, box));
        host.hidden = false;
        return true;
    },

    focusDefault() {
        const button = this.buttons[this.request && this.request.default >= 0 ? this.request.default : 0] || this.buttons[0];
        if (button) button.focus();
    },

    async answer(index) {
        const id = this.id;
        this.buttons.forEach(b => { b.disabled = true; });
        try {
            await post('/api/alert', {alert: id, button: index});
        } catch (error) {
            showProblem(error);
            this.buttons.forEach(b => { b.disabled = false; });
        }
    },

    // Escape answers with the button that says no, or the only button there is.
    escape() {
        if (!this.request) return;
        const labels = (this.request.buttons || ['OK']).map(cleanLabel);
        let index = labels.findIndex(l => /^(cancel|no)$/i.test(l));
        if (index < 0 && labels.length === 1) index = 0;
        if (index >= 0) this.answer(index);
    },
};

// ---------------------------------------------------------------------------------------------
// Convert: pick a MIF file or a folder below the server's folder, or drop a file to upload

const convertArea = {
    browser: null,

    init() {
        this.browser = new FileBrowser({
            extension: 'mif',
            selectFolders: true,
            label: 'MIF files and folders',
            onSelect: () => this.updateButton(),
            onActivate: entry => this.convert(entry.path),
        });
        $('#convert-browser').append(this.browser.root);
        $('#convert-button').addEventListener('click', () => {
            if (this.browser.selected) this.convert(this.browser.selected.path);
        });
        $('#convert-folder').addEventListener('click', () => this.convert(this.browser.dir));
        this.browser.load('');

        const zone = $('#dropzone');
        const input = $('#upload-input');
        input.addEventListener('change', () => {
            this.upload([...input.files]);
            input.value = '';
        });
        zone.addEventListener('dragover', event => {
            event.preventDefault();
            event.dataTransfer.dropEffect = 'copy';
            zone.classList.add('drag');
        });
        zone.addEventListener('dragleave', () => zone.classList.remove('drag'));
        zone.addEventListener('drop', event => {
            event.preventDefault();
            zone.classList.remove('drag');
            this.upload([...event.dataTransfer.files]);
        });
        // A file dropped beside the zone is not opened by the browser in place of the page.
        document.addEventListener('dragover', event => event.preventDefault());
        document.addEventListener('drop', event => event.preventDefault());
    },

    updateButton() {
        const button = $('#convert-button');
        const selected = this.browser.selected;
        button.disabled = !selected;
        button.textContent = selected ? `Convert ${selected.folder ? 'folder ' : ''}${selected.name}` : 'Convert';
        $('#convert-folder').textContent = this.browser.dir ? `Convert folder ${baseName(this.browser.dir)}` : 'Convert this folder';
    },

    status(text, problem = false) {
        const status = $('#convert-status');
        status.textContent = text;
        status.classList.toggle('problem', problem);
    },

    async convert(path) {
        try {
            await post('/api/convert', {path});
            this.status(`Started: ${path || 'the whole folder'}`);
        } catch (error) {
            this.status(errorText(error), true);
        }
    },

    async upload(files) {
        const kMaxUpload = 256 * 1024 * 1024;
        for (const file of files) {
            if (!/\.mif$/i.test(file.name)) {
                this.status(`${file.name} is not a MIF file (its name does not end in .mif).`, true);
                continue;
            }
            if (file.size > kMaxUpload) {
                this.status(`${file.name} is larger than 256 MB, the most that can be uploaded.`, true);
                continue;
            }
            this.status(`Uploading ${file.name}…`);
            try {
                await request('POST', `/api/upload?name=${encodeURIComponent(file.name)}`,
                              {body: file, headers: {'Content-Type': 'application/octet-stream'}});
                this.status(`Uploaded ${file.name}`);
            } catch (error) {
                this.status(`${file.name}: ${errorText(error)}`, true);
            }
        }
    },
};

// ---------------------------------------------------------------------------------------------
// Jobs: conversions with their progress, and once done what they made

const jobViews = new Map();

class JobView {
    constructor(job) {
        this.id = job.id;
        this.heading = h('h3.job-name');
        this.badge = h('span.badge');
        this.progressLabel = h('span.progress-text');
        this.progressBar = h('progress', {max: 1});
        this.progress = h('div.progress', {}, this.progressBar, this.progressLabel);
        this.message = h('p.job-message');
        this.body = h('div.job-body');
        this.root = h('article.job', {dataset: {jobId: job.id}, 'aria-labelledby': uniqueId('job')},
                      h('header.job-header', {}, this.heading, this.badge), this.progress, this.message, this.body);
        this.heading.id = this.root.getAttribute('aria-labelledby');
        this.progressBar.setAttribute('aria-labelledby', this.heading.id);
        this.bodyKey = null;
    }

    update(job) {
        this.root.dataset.state = job.state;
        this.root.dataset.kind = job.kind;
        this.heading.textContent = job.kind === 'batch' ? `Folder ${job.name || rootName()}` : job.name;
        this.badge.textContent = {queued: 'Waiting', running: 'Converting', done: 'Done', failed: 'Failed'}[job.state] || job.state;
        this.badge.className = `badge ${job.state}`;

        const active = job.state === 'queued' || job.state === 'running';
        this.progress.hidden = !active && job.kind !== 'batch';
        const p = job.progress || {};
        let fraction = typeof p.fraction === 'number' ? p.fraction : null;
        if (job.kind === 'batch' && job.total) {
            if (fraction === null || !active) fraction = (job.files || []).length / job.total;
        }
        if (!active && job.state === 'done') fraction = 1;
        if (fraction === null) this.progressBar.removeAttribute('value');
        else this.progressBar.value = Math.max(0, Math.min(1, fraction));
        const words = active ? [p.title, p.task].filter(Boolean).map(cleanLabel) : [];
        if (job.kind === 'batch') words.push(`${(job.files || []).length} of ${job.total || 0}`);
        this.progressLabel.textContent = job.state === 'queued' ? 'Waiting…' : words.join(' — ');

        this.message.textContent = job.state === 'failed' ? (job.message || 'The conversion failed.') : (active ? job.message || '' : '');
        this.message.className = job.state === 'failed' ? 'job-message error' : 'job-message';
        this.message.setAttribute('role', job.state === 'failed' ? 'alert' : 'none');

        const key = JSON.stringify({state: job.state, report: job.report, warnings: job.warnings, pages: job.pages,
                                    package: job.package, files: job.files, total: job.total});
        if (key === this.bodyKey) return;
        this.bodyKey = key;
        const open = new Set([...this.body.querySelectorAll('details[open]')].map(d => d.dataset.key));
        this.body.replaceChildren(...(job.kind === 'batch' ? this.batchBody(job) : this.convertBody(job)));
        for (const details of this.body.querySelectorAll('details')) if (open.has(details.dataset.key)) details.open = true;
    }

    convertBody(job) {
        if (job.state !== 'done') return [];
        const parts = [];
        const r = job.report || {};
        const facts = [
            ['Status', r.status],
            ['Pages', r.pagesAdded ? `${r.pages} (${r.pagesAdded} added)` : r.pages],
            ['Warnings', r.warnings],
            ['Time', formatSeconds(r.seconds)],
        ];
        if (typeof r.importedCharacters === 'number') {
            facts.push(['Text check', r.fidelityDiffers
                ? `differs: ${r.importedCharacters} characters imported, ${r.documentCharacters} in the document`
                : `${r.documentCharacters} characters, as imported`]);
        }
        parts.push(h('dl.facts', {}, facts.filter(([, v]) => v !== undefined && v !== '').map(([k, v]) =>
            h('div', {}, h('dt', {}, k), h('dd', {}, String(v))))));
        if (job.package) {
            parts.push(h('p.download', {}, h('a.button.primary', {href: job.package, download: '',
                                                                    dataset: {package: job.id}}, 'Download the IDML package')));
        }
        if (r.fidelityDiffers) parts.push(h('p.flag', {}, 'The text of the package differs from the text imported.'));
        parts.push(...namedList('Overset stories', 'overset', r.oversetStories, 'These stories have more text than their frames show.'),
                   ...namedList('Missing fonts', 'missing-fonts', r.missingFonts, 'These fonts are not installed here; the pages show others.'));
        if ((job.warnings || []).length) {
            const groups = job.warnings.map((group, index) => h('details.warning-group', {dataset: {key: `w${index}`}},
                h('summary', {}, cleanLabel(group.heading) || 'Warnings', ' ',
                  h('span.count', {}, `${(group.lines || []).length}`)),
                h('ul', {}, (group.lines || []).slice(0, 1000).map(line => h('li', {}, line)),
                  (group.lines || []).length > 1000 ? h('li.more', {}, `… and ${group.lines.length - 1000} more`) : null)));
            parts.push(h('section.warnings', {'aria-label': 'Warnings'}, h('h4', {}, 'Warnings'), groups));
        }
        if (job.pages > 0) {
            const thumbs = [];
            for (let n = 1; n <= job.pages; n++) {
                const src = `/api/jobs/${job.id}/pages/${n}.png`;
                thumbs.push(h('button.thumb', {type: 'button', 'aria-label': `Page ${n} at full size`,
                                               dataset: {page: n}, onclick: () => pageOverlay.show(job, n)},
                              h('img', {src, alt: `Page ${n}`, loading: 'lazy'}), h('span', {}, String(n))));
            }
            parts.push(h('section.pages', {'aria-label': 'Pages'}, h('h4', {}, 'Pages'), h('div.thumbs', {}, thumbs)));
        }
        return parts;
    }

    batchBody(job) {
        const files = job.files || [];
        if (!files.length) return job.state === 'done' ? [h('p.hint', {}, 'No MIF files were found.')] : [];
        const converted = files.filter(f => f.status === 'converted').length;
        const head = ['File', 'Status', 'Pages', 'Warnings', 'Time', 'Overset', 'Missing fonts', 'Text check', 'Package'];
        const count = n => (typeof n === 'number' && n >= 0 ? String(n) : '');   // -1: not known
        const rows = files.flatMap(f => {
            const row = h(`tr.${f.status === 'converted' ? 'ok' : 'bad'}`, {dataset: {status: f.status}},
                h('td.file', {}, f.input),
                h('td', {}, f.status),
                h('td.num', {}, f.pagesAdded > 0 ? `${count(f.pages)} (+${f.pagesAdded})` : count(f.pages)),
                h('td.num', {}, count(f.warnings)),
                h('td.num', {}, f.seconds > 0 ? formatSeconds(f.seconds) : ''),
                h('td', {}, (f.oversetStories || []).join(', ')),
                h('td', {}, (f.missingFonts || []).join(', ')),
                h('td', {}, f.status !== 'converted' ? '' : f.fidelityDiffers ? h('span.flag', {}, 'differs') : 'matches'),
                h('td', {}, f.package ? h('a', {href: f.package, download: ''}, 'IDML') : ''));
            if (!f.reason) return [row];
            row.classList.add('has-reason');
            return [row, h('tr.reason-row.bad', {}, h('td.reason', {colSpan: head.length}, f.reason))];
        });
        return [
            h('p.batch-count', {}, `${files.length} of ${job.total ?? files.length} files done, ${converted} converted`),
            h('div.table-frame', {}, h('table.batch', {}, h('thead', {}, h('tr', {}, head.map(c => h('th', {scope: 'col'}, c)))),
                                      h('tbody', {}, rows))),
        ];
    }
}

function namedList(title, kind, items, hint) {
    if (!items || !items.length) return [];
    return [h(`section.${kind}`, {'aria-label': title}, h('h4', {}, title, ' ', h('span.count', {}, String(items.length))),
              h('p.hint', {}, hint), h('ul.names', {}, items.map(item => h('li', {}, item))))];
}

function renderJobs(jobs) {
    const list = $('#job-list');
    const ids = new Set(jobs.map(j => j.id));
    for (const [id, view] of jobViews) {
        if (!ids.has(id)) {
            view.root.remove();
            jobViews.delete(id);
        }
    }
    // Newest first.
    [...jobs].reverse().forEach((job, index) => {
        let view = jobViews.get(job.id);
        if (!view) {
            view = new JobView(job);
            jobViews.set(job.id, view);
        }
        view.update(job);
        if (list.children[index] !== view.root) list.insertBefore(view.root, list.children[index] || null);
    });
    $('#jobs-empty').hidden = jobs.length > 0;
}

// A page at full size, above the page (the host's own modals stay above it).
const pageOverlay = {
    job: null,
    page: 0,

    show(job, page) {
        this.job = job;
        this.page = page;
        const host = $('#page-overlay');
        const img = h('img.full-page', {src: `/api/jobs/${job.id}/pages/${page}.png`, alt: `Page ${page} of ${job.name}`});
        const close = h('button.close', {type: 'button', 'aria-label': 'Close', title: 'Close (Esc)', onclick: () => this.hide()}, '×');
        const previous = h('button', {type: 'button', disabled: page <= 1, onclick: () => this.show(job, page - 1)}, '← Previous');
        const next = h('button', {type: 'button', disabled: page >= job.pages, onclick: () => this.show(job, page + 1)}, 'Next →');
        const layer = h('div.modal-layer.overlay-layer', {role: 'dialog', 'aria-modal': 'true', 'aria-label': `Page ${page}`},
            h('div.overlay-bar', {}, previous, h('span', {}, `Page ${page} of ${job.pages} — ${job.name}`), next, close),
            h('div.overlay-page', {}, img));
        layer.addEventListener('click', event => { if (event.target === layer || event.target.classList.contains('overlay-page')) this.hide(); });
        layer.addEventListener('keydown', event => {
            if (event.key === 'ArrowLeft' && page > 1) this.show(job, page - 1);
            else if (event.key === 'ArrowRight' && page < job.pages) this.show(job, page + 1);
        });
        host.replaceChildren(layer);
        host.hidden = false;
        updateModality();
        close.focus();
    },

    hide() {
        const host = $('#page-overlay');
        if (host.hidden) return;
        host.hidden = true;
        host.replaceChildren();
        updateModality();
        const thumb = this.job && document.querySelector(`.job[data-job-id="${this.job.id}"] .thumb[data-page="${this.page}"]`);
        if (thumb) thumb.focus();
    },
};

// ---------------------------------------------------------------------------------------------
// Modality: only the topmost window takes the user's input

function updateModality() {
    const dialogs = [...$('#dialogs').children];
    const chooserOpen = !$('#chooser').hidden;
    const alertOpen = !$('#alert').hidden;
    const hostModal = dialogs.length > 0 || chooserOpen || alertOpen;
    const overlayOpen = !$('#page-overlay').hidden;
    for (const id of ['#app-header', '#app-main']) $(id).inert = hostModal || overlayOpen;
    $('#page-overlay').inert = hostModal;
    dialogs.forEach((layer, index) => {
        const active = index === dialogs.length - 1 && !chooserOpen && !alertOpen;
        layer.inert = !active;
        layer.classList.toggle('behind', !active);
    });
    $('#chooser').inert = alertOpen;
    document.body.classList.toggle('modal-open', hostModal || overlayOpen);
}

// Where the keyboard goes after a change of windows: a new alert's default button, a new
// dialog's first field, back to the dialog below when one closes.
function settleFocus(changes) {
    if (changes.alert) return alertBox.focusDefault();
    if (currentState.alert) return;
    if (changes.chooser || currentState.chooser) return;
    const dialogs = currentState.dialogs;
    if (!dialogs.length) return;
    const top = dialogViews.get(dialogs[dialogs.length - 1].id);
    if (changes.freshDialogs.includes(top)) {
        const el = top.firstFocusable();
        if (el) el.focus();
    } else if (!top.box.contains(document.activeElement)) {
        top.restoreFocus();
    }
}

document.addEventListener('keydown', event => {
    if (event.key !== 'Escape' || event.defaultPrevented) return;
    if (menubar.open || document.querySelector('#menubar .open')) {
        const title = menubar.open && menubar.open.querySelector('.menu-title');
        menubar.close();
        if (title) title.focus();
    } else if (currentState && currentState.alert) {
        alertBox.escape();
    } else if (currentState && currentState.chooser) {
        chooser.cancel();
    } else if (currentState && currentState.dialogs.length) {
        cancelDialog(currentState.dialogs[currentState.dialogs.length - 1].id);
    } else if (!$('#page-overlay').hidden) {
        pageOverlay.hide();
    } else {
        return;
    }
    event.preventDefault();
});

// ---------------------------------------------------------------------------------------------
// The state: long-polled, each new version drawn

function render(state) {
    const previous = currentState;
    currentState = state;
    $('#folder').textContent = state.folder || '';
    if (!previous || previous.folder !== state.folder) convertArea.browser.render();
    menubar.render(state.menus || []);
    const freshDialogs = renderDialogs(state);
    const changes = {
        freshDialogs,
        chooser: chooser.render(state.chooser),
        alert: alertBox.render(state.alert),
    };
    renderJobs(state.jobs || []);
    updateModality();
    settleFocus(changes);
    applyRefusedFocus();
}

function setConnection(connected, text) {
    const status = $('#connection');
    if (connected) {
        if (status.className === 'disconnected') {
            status.textContent = '';
            status.className = '';
        }
        document.body.classList.remove('disconnected');
    } else {
        status.textContent = text;
        status.className = 'disconnected';
        document.body.classList.add('disconnected');
    }
}

async function pollState() {
    let version = null;
    let failures = 0;
    for (;;) {
        try {
            const url = version === null ? '/api/state' : `/api/state?since=${version}`;
            const state = await request('GET', url, {timeout: 40000});
            failures = 0;
            setConnection(true);
            if (state && state.version !== version) {
                version = state.version;
                render(state);
            }
        } catch (error) {
            failures++;
            setConnection(false, error instanceof ServerError && error.status === 403
                ? 'Not allowed: open the link that tessel ui printed (with its token).'
                : 'Disconnected from tessel ui; trying again…');
            await sleep(Math.min(300 * failures, 3000));
        }
    }
}

convertArea.init();
pollState();

})();
