#!/usr/bin/python3
"""The browser page in headless Chromium, against the desktop program's command-line tool.

browser_test.py --page DIR --calc COLDROOM-CALC --scenarios DIR

Serves the page folder on localhost, drives Chromium through chromedriver as a person would,
and checks that every figure, refusal and file the page makes is the desktop program's: the
task confirmed, entries accepted and refused, every scenario project opened through the file
input with every field and result compared with `coldroom-calc --json`, the project saved and
the reports and the note downloaded and compared with what `coldroom-calc` writes. Prints the
page's time to the first result, an entry's time to refreshed results and the folder's size.
Exits 77 (skipped) when Chromium cannot start.
"""
import argparse
import functools
import gzip
import http.server
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, flush=True)


def calc(args, *options):
    """coldroom-calc's run: (exit code, stdout, stderr)."""
    run = subprocess.run([args.calc, *options], capture_output=True, text=True, timeout=60)
    return run.returncode, run.stdout, run.stderr


def calc_json(args, *options):
    code, out, err = calc(args, "--json", *options)
    if code != 0:
        raise RuntimeError("coldroom-calc %s: %d %s" % (options, code, err))
    return json.loads(out)


def start_browser(download_dir, profile_dir):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    for binary in ("/usr/lib/chromium/chromium", shutil.which("chromium") or ""):
        if binary and os.path.exists(binary):
            options.binary_location = binary
            break
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--window-size=1366,768"):
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + profile_dir)
    options.add_experimental_option("prefs", {"download.default_directory": download_dir,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver") or "/usr/bin/chromedriver"),
                              options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": download_dir})
    return driver


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


# Everything the page shows, by the names the desktop program's JSON uses.
READ_PAGE = r"""
const out = {fields: {}, lists: {}, options: {}};
for (const el of document.querySelectorAll('[data-field]')) {
  const name = el.dataset.field;
  if (el.tagName === 'SELECT') {
    const o = el.selectedOptions[0];
    out.lists[name] = {index: o && o.dataset.position !== undefined ? Number(o.dataset.position) : -1,
                       text: o ? o.textContent : ''};
  } else if (el.type === 'radio' || el.type === 'checkbox') {
    out.options[name] = el.checked;
  } else {
    out.fields[name] = el.value;
  }
}
for (const el of document.querySelectorAll('[data-control]')) out.fields[el.dataset.control] = el.textContent;
return JSON.stringify(out);
"""


def open_project(driver, path):
    before = driver.execute_script("return window.coldroomPage.actions")
    driver.find_element("id", "cmd-open").send_keys(path)
    wait_for(driver, "return window.coldroomPage.actions > %d" % before, "the open")


def page_view(driver):
    return json.loads(driver.execute_script(READ_PAGE))


def compare(view, expected, where):
    """Every field, list, option and result the page shows equals the desktop program's."""
    compared = 0
    for part in ("fields", "lists", "options"):
        for name, value in view[part].items():
            if name not in expected[part]:
                continue
            compared += 1
            check(value == expected[part][name],
                  "%s: %s is %r, the desktop program shows %r" % (where, name, value, expected[part][name]))
    return compared


def wait_for(driver, script, what, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        if driver.execute_script(script):
            return
        time.sleep(0.02)
    raise RuntimeError("timed out waiting for " + what)


def messages(driver):
    return driver.execute_script("return window.coldroomPage.state.messages")


def type_into(driver, field, text):
    from selenium.webdriver.common.keys import Keys
    el = driver.find_element("css selector", '[data-field="%s"]' % field)
    if not el.is_displayed():  # on another tab: a person opens it first
        driver.execute_script("document.getElementById('tab-' + arguments[0].closest('[role=tabpanel]').id"
                              ".slice(6)).click()", el)
    el.send_keys(Keys.CONTROL, "a")
    el.send_keys(text, Keys.TAB)


def plain(text):
    """A message as the command line prints it: LF line ends."""
    return text.replace("\r\n", "\n")


def refusal_of(args, name, text):
    """What the desktop program says when `text` is entered into `name`."""
    code, _, err = calc(args, "--set", "%s=%s" % (name, text))
    check(code == 6, "coldroom-calc refuses %s=%s" % (name, text))
    return err


def downloaded(folder, before, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        names = [n for n in os.listdir(folder) if n not in before and not n.endswith(".crdownload")]
        if names:
            path = os.path.join(folder, names[0])
            time.sleep(0.05)
            with open(path, "rb") as f:
                data = f.read()
            os.remove(path)
            return names[0], data
        time.sleep(0.05)
    raise RuntimeError("no download")


def click_download(driver, folder, button):
    before = set(os.listdir(folder))
    driver.find_element("id", button).click()
    return downloaded(folder, before)


def note_text(data):
    """The note without its reference-data line, which names the database file or the page."""
    return re.sub(r"Справочные данные: [^<\n]*", "", data.decode("utf-8"))


def folder_size(folder):
    raw = packed = 0
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        raw += len(data)
        packed += len(gzip.compress(data, 9))
    return raw, packed


def run(args, driver, work, downloads):
    server = serve(args.page)
    url = "http://127.0.0.1:%d/" % server.server_address[1]
    try:
        driver.get(url)
        wait_for(driver, "return !!(window.coldroomPage && window.coldroomPage.timings.ready)", "the page")
        ready = driver.execute_script("return window.coldroomPage.timings.ready")

        # The task dialog: a refused value names the refusal the desktop program gives.
        expected = refusal_of(args, "Produkt.Tin_Prod_txt", "99")
        type_into(driver, "Produkt.Tin_Prod_txt", "99")
        told = messages(driver)
        check(told and told[0]["kind"] == "error" and plain(told[0]["text"]) in expected,
              "the task dialog refuses 99 °C with the program's text: %r / %r" % (told, expected))
        type_into(driver, "Produkt.Tin_Prod_txt", "35")
        started = driver.execute_script("return performance.now()")
        driver.find_element("id", "task-confirm").click()
        wait_for(driver, "return window.coldroomPage.state.step === 'room'", "the room")
        first = driver.execute_script("return window.coldroomPage.timings.firstResult") - started
        check(compare(page_view(driver), calc_json(args), "start") > 100, "the start project is compared whole")

        # Entries accepted, then refused with the program's text.
        for setting in ("Length_txt=12", "Nord1_D_txt=150", "TempIn_txt=-18"):
            name, text = setting.split("=")
            type_into(driver, name, text)
            check(not [m for m in messages(driver) if m["kind"] == "error"], setting + " is accepted")
        sets = ["--set", "Length_txt=12", "--set", "Nord1_D_txt=150", "--set", "TempIn_txt=-18"]
        compare(page_view(driver), calc_json(args, *sets), "after entries")
        # A refused number stays in its field, marked; a text that is no number gives the field
        # its value back.
        for name, text, kept, after in (("Length_txt", "-1", True, "12"), ("Cycle_txt", "120", True, "100"),
                                        ("Width_txt", "5 м", False, None)):
            expected = refusal_of(args, name, text)
            type_into(driver, name, text)
            told = [m for m in messages(driver) if m["kind"] == "error"]
            check(told and plain(told[0]["text"]) in expected, "%s=%s is refused as the program refuses it: %r / %r"
                  % (name, text, told, expected))
            field = driver.find_element("css selector", '[data-field="%s"]' % name)
            check((field.get_attribute("aria-invalid") == "true") == kept,
                  "%s=%s: the field is %smarked as holding a refused entry" % (name, text, "" if kept else "not "))
            check(kept or field.get_attribute("value") == "5", "%s=%s: the field shows its value again" % (name, text))
            if after:
                type_into(driver, name, after)

        # An entry to refreshed results, timed inside the page.
        entry_times = []
        for i in range(20):
            type_into(driver, "Width_txt", str(5 + (i % 2)))
            entry_times.append(driver.execute_script("return window.coldroomPage.timings.lastEntry"))

        # Every scenario through the file input.
        scenarios = sorted(os.listdir(args.scenarios))
        for scenario in scenarios:
            project = os.path.join(args.scenarios, scenario, "project.cfg")
            open_project(driver, project)
            view = page_view(driver)
            n = compare(view, calc_json(args, project), scenario)
            check(n > 100, "%s: %d values compared" % (scenario, n))
            out = os.path.join(work, scenario)
            os.makedirs(out, exist_ok=True)
            margin = str(driver.execute_script("return window.coldroomPage.state.margin"))
            code, _, err = calc(args, project, "--margin", margin, "--save", out + "/saved.cfg",
                                "--note", out + "/note.html", "--html", out + "/report.html", "--csv", out + "/report.csv")
            check(code == 0, "%s: coldroom-calc writes its files: %s" % (scenario, err))
            for button, mine, compare_as in (("cmd-save", "saved.cfg", bytes), ("cmd-html", "report.html", bytes),
                                             ("cmd-csv", "report.csv", bytes), ("note-download", "note.html", note_text)):
                if button == "note-download":
                    driver.find_element("id", "cmd-note").click()
                    wait_for(driver, "return !document.getElementById('note-view').hidden", "the note")
                name, data = click_download(driver, downloads, button)
                with open(os.path.join(out, mine), "rb") as f:
                    theirs = f.read()
                check(compare_as(data) == compare_as(theirs), "%s: %s equals coldroom-calc's %s" % (scenario, name, mine))
                if button == "cmd-save":
                    saved = os.path.join(out, "page.cfg")
                    with open(saved, "wb") as f:
                        f.write(data)
                if button == "note-download":
                    driver.find_element("id", "note-close").click()
            # What the page saved opens again to the same figures.
            open_project(driver, saved)
            compare(page_view(driver), calc_json(args, project), scenario + ", saved and opened again")

        raw, packed = folder_size(args.page)
        print("web: %d scenarios compared" % len(scenarios))
        print("web: page ready %.0f ms after navigation; first result %.0f ms after «Далее >>»" % (ready, first))
        print("web: entry to refreshed results: median %.2f ms, slowest %.2f ms (budget 16 ms)"
              % (statistics.median(entry_times), max(entry_times)))
        print("web: folder %s: %.2f MB, %.2f MB compressed with gzip (budget 3 MB)"
              % (args.page, raw / 1e6, packed / 1e6))
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE" and "favicon" not in e["message"]]
        check(not errors, "the console holds no errors: %r" % errors)
    finally:
        server.shutdown()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--calc", required=True)
    parser.add_argument("--scenarios", required=True)
    args = parser.parse_args()
    args.page, args.scenarios = os.path.abspath(args.page), os.path.abspath(args.scenarios)
    work = tempfile.mkdtemp(prefix="coldroom-web-")
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads)
    try:
        # The browser's profile lives in the work folder, which goes when the test ends.
        driver = start_browser(downloads, os.path.join(work, "profile"))
    except Exception as e:  # noqa: BLE001 - any reason Chromium does not come up
        shutil.rmtree(work, ignore_errors=True)
        print("SKIP: Chromium cannot start: %s" % str(e).splitlines()[0] if str(e) else e)
        return SKIP
    try:
        run(args, driver, work, downloads)
    except Exception:
        driver.save_screenshot(os.path.join(tempfile.gettempdir(), "coldroom-web-failure.png"))
        raise
    finally:
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
