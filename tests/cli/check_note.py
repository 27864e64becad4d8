"""The calculation note's PDF carries the text of its HTML page: the same words in the same
order, the pages' footers ("Лист 1 из 3") aside.

    check_note.py CALC PROJECT WORKDIR
"""
import html.parser
import re
import subprocess
import sys


class BodyText(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.inside = False
        self.parts = []

    def handle_starttag(self, tag, attrs):
        if tag == "body":
            self.inside = True

    def handle_endtag(self, tag):
        if tag == "body":
            self.inside = False

    def handle_data(self, data):
        if self.inside:
            self.parts.append(data)


def main():
    calc, project, work = sys.argv[1:4]
    html_path, pdf_path = work + "/note.html", work + "/note.pdf"
    for path in (html_path, pdf_path):
        subprocess.run([calc, "--note", path, project], check=True, stdout=subprocess.DEVNULL)
    parser = BodyText()
    with open(html_path, encoding="utf-8") as f:
        parser.feed(f.read())
    page_words = " ".join(parser.parts).split()
    pdf_text = subprocess.run(["pdftotext", "-raw", "-enc", "UTF-8", pdf_path, "-"], check=True,
                              capture_output=True, text=True).stdout
    pdf_text = re.sub(r"Лист \d+ из \d+", " ", pdf_text)
    pdf_words = pdf_text.split()
    if page_words != pdf_words:
        for i, (a, b) in enumerate(zip(page_words, pdf_words)):
            if a != b:
                print(f"word {i}: page has {a!r}, PDF has {b!r}")
                print("page: " + " ".join(page_words[max(0, i - 8):i + 8]))
                print("PDF:  " + " ".join(pdf_words[max(0, i - 8):i + 8]))
                break
        print(f"{len(page_words)} words in the page, {len(pdf_words)} in the PDF")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
