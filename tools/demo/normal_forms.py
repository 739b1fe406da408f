"""The normal forms of the reader's searches, from the project's own tool
(build/bin/normal_forms, built from tools/normal_forms/): the generator asks
for every form it needs, then runs the tool once over a pipe, so that the
stored normal columns are exactly what the searches compare with."""

import os
import subprocess

SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def default_tool():
    """$EXITDESK_NORMAL_FORMS, else the tool of the build folder build/ of the source tree."""
    return os.environ.get("EXITDESK_NORMAL_FORMS") or os.path.join(SOURCE_DIR, "build", "bin", "normal_forms")


class NormalForms:
    """Collects requests; run() answers them all and fills each slot."""

    def __init__(self, tool):
        self.tool = tool
        self.requests = []
        self.answers = None

    def _ask(self, kind, args, text):
        self.requests.append("\t".join([kind, *args, text.encode("utf-8").hex()]))
        return len(self.requests) - 1

    def bib(self, tag, indicators, text):
        """A bibliographic heading as SearchBibHeading searches it (at most 150 octets)."""
        return self._ask("bib", [tag, indicators], text)

    def heading(self, text):
        """A heading or subdivision as SearchHeading and SearchSubdiv search it."""
        return self._ask("heading", [], text)

    def call(self, call_type, text):
        """A call number of that type as the normal call-number search compares it."""
        return self._ask("call", [call_type], text)

    def standard(self, tag, text):
        """A standard number of that tag as the standard-number search compares it."""
        return self._ask("std", [tag], text)

    def run(self):
        if not os.access(self.tool, os.X_OK):
            raise SystemExit("normal forms tool not found: %s (build the target normal_forms, or give "
                             "--normal-forms or $EXITDESK_NORMAL_FORMS)" % self.tool)
        done = subprocess.run([self.tool, "--hex"], input=("\n".join(self.requests) + "\n").encode("ascii"),
                              stdout=subprocess.PIPE, check=True)
        lines = done.stdout.decode("ascii").split("\n")[:len(self.requests)]
        if len(lines) != len(self.requests):
            raise SystemExit("normal forms tool answered %d of %d requests" % (len(lines), len(self.requests)))
        self.answers = [exact_form(bytes.fromhex(line)) for line in lines]
        self.requests = []

    def __getitem__(self, slot):
        return self.answers[slot]


class TextOctets(bytes):
    """A text value that is not UTF-8, given as its octets: a bibliographic
    heading form cut at 150 octets inside a character keeps that character's
    first octets, as the reader's search sends them. Stored as text holding
    exactly these octets (not as a binary value, which never equals text)."""


def exact_form(octets):
    """The form as text, or as TextOctets when it is not UTF-8."""
    try:
        return octets.decode("utf-8")
    except UnicodeDecodeError:
        return TextOctets(octets)
