"""The batch tool run as a script runs it, in a folder of its own, and its files read back."""

import csv
import os
import subprocess
import tempfile

BATCH = os.environ.get("TARVENOL_BATCH", "tarvenol-batch")
EXAMPLES = os.environ.get("TARVENOL_EXAMPLES", "examples")


class BatchSession:
    """Runs tarvenol-batch with the actions given, in a temporary folder; files named in the
    actions are written there."""

    def __init__(self, *actions, inputs=None):
        self._dir = tempfile.TemporaryDirectory()
        self.folder = self._dir.name
        for name, text in (inputs or {}).items():
            with open(os.path.join(self.folder, name), "w") as f:
                f.write(text)
        done = subprocess.run([BATCH, *map(str, actions)], cwd=self.folder, capture_output=True,
                              text=True, timeout=300, check=False)
        if done.returncode != 0:
            raise AssertionError(f"tarvenol-batch {' '.join(map(str, actions))}: {done.stderr}")
        self.stdout = done.stdout
        self._dir_keep = done

    def rows(self, name):
        """The CSV table as dicts of floats (blank fields as None)."""
        with open(os.path.join(self.folder, name), newline="") as f:
            return [{k: (float(v) if v != "" else None) for k, v in row.items()}
                    for row in csv.DictReader(f)]

    def figures(self):
        """The printed figures' lines (body-figures', drag-figures') as a dict: nan and none,
        a figure that is not there, as None, as the module gives it."""
        lines = (line.split() for line in self.stdout.splitlines())
        return {name: None if value in ("nan", "none") else float(value) for name, value in lines}

    def close(self):
        self._dir.cleanup()
