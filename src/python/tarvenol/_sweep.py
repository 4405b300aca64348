"""Sweeps: many designs, each built, solved by the body's symmetry and measured on its own."""

import numbers

from . import _tarvenol

# How long a scheduler named by its address is waited for.
CONNECT_TIMEOUT = "10s"

# Rows sent to a Dask worker at once: enough to make the scheduler's work per task small beside
# the rows' own, few enough to keep every worker busy to the end.
ROWS_PER_TASK = 8


def _texts(design):
    """The design's columns as (name, text) pairs, as a table's row holds them, or a message."""
    if not isinstance(design, dict):
        return f"A design must be a dict of columns; this one is a {type(design).__name__}."
    row = []
    for name, value in design.items():
        if not isinstance(name, str):
            return f"The column {name!r} is not named by a text."
        if value is None:
            text = ""
        elif isinstance(value, str):
            text = value
        elif isinstance(value, numbers.Integral) and not isinstance(value, bool):
            text = str(int(value))
        elif isinstance(value, numbers.Real) and not isinstance(value, bool):
            # repr gives the shortest text that reads back as the same double: the same bits as
            # the number a table holds.
            text = repr(float(value))
        else:
            return (f"The column {name} must hold a number or a text; it holds a "
                    f"{type(value).__name__}.")
        row.append((name, text))
    return row


def _evaluate(rows):
    """Each row's outcome, or the message that refused it before it was read."""
    return [_tarvenol._sweep_row(row) if isinstance(row, list)
            else {"figures": [], "drag": [], "error": row, "warnings": []} for row in rows]


def _merged(design, outcome):
    out = dict(design) if isinstance(design, dict) else {"design": design}
    out.update(outcome["figures"])
    out.update(outcome["drag"])
    out["error"] = outcome["error"]
    out["warnings"] = outcome["warnings"]
    return out


def _connected(address):
    """A client of the scheduler at address, or tarvenol.Error saying why there is none."""
    from distributed import Client
    try:
        return Client(address, timeout=CONNECT_TIMEOUT)
    except OSError as e:
        raise _tarvenol.Error(f"The Dask scheduler at {address} cannot be reached: {e}.") from e


def _require_running(client):
    if not hasattr(client, "map") or not hasattr(client, "gather"):
        raise TypeError(f"client must be a distributed.Client or a scheduler's address; this "
                        f"one is a {type(client).__name__}.")
    status = getattr(client, "status", "running")
    if status != "running":
        raise _tarvenol.Error(
            f"The Dask client is {status}, not connected to a scheduler: make it with "
            f"distributed.Client(address) while the scheduler runs, and keep it open for the "
            f"sweep.")


def _distributed(rows, client):
    """The rows' outcomes from the client's workers, a few rows a task, in their order."""
    _require_running(client)
    batches = [rows[k:k + ROWS_PER_TASK] for k in range(0, len(rows), ROWS_PER_TASK)]
    futures = client.map(_evaluate, batches)
    try:
        return [outcome for batch in client.gather(futures) for outcome in batch]
    except KeyboardInterrupt:
        client.cancel(futures)
        raise


def sweep(designs, client=None):
    """Builds, solves and measures each design; a list of dicts, one for each, in their order.

    A design is a dict of columns, as a row of tarvenol-batch's sweep table: family ("myring",
    "spheroid" or "file"); the family's parameters (a, b, c, d, n, theta for Myring's hull, theta
    in degrees; a, b for the spheroid's semi-axes; path for a body file); and optionally ni (the
    family's panels along the profile, 100 by default; for a file, its own points, or the
    profile resampled to ni panels), nj (panels around, 16), alpha (the angle of attack in
    degrees, 0), mach (0 <= M < 1; none: incompressible), reynolds (U L / nu on the body's
    length; none: no drag) and transition ("free", "laminar" or the x/L of a trip; "free").
    Values are numbers, texts as a table holds them, or None for a blank. Each body is solved
    by its symmetry.

    Each result repeats the design's columns and adds the figures of Solution.figures at the
    design's alpha and mach (body-figures' names: volume, ..., Cp_min and x_Cp_min, and with a
    Mach number M_critical, None where there is none below 1) and, with a Reynolds number,
    drag-figures' (Re_L, CD_wetted, ...; x_transition and x_separation None where there is
    none); error (None, or the message that refused the design: a bad row never stops the
    sweep) and warnings (the profile's and the boundary layer's). tarvenol-batch's sweep
    gives the same numbers for the same rows.

    client=None runs the designs one after the other here, the interpreter's lock released; a
    distributed.Client maps them over its workers, a few rows a task, and gathers the results in
    the input order, the same numbers to the bit; a scheduler's address ("tcp://host:8786")
    does the same through a client of its own, closed at the end, and raises tarvenol.Error when
    the scheduler cannot be reached within CONNECT_TIMEOUT. The workers must import tarvenol. Ctrl-C stops the sweep (serially at the
    current row's next coarse step; with Dask the tasks not yet finished are cancelled).
    """
    designs = list(designs)
    rows = [_texts(design) for design in designs]
    if client is None:
        outcomes = _evaluate(rows)
    elif isinstance(client, str):
        with _connected(client) as connected:
            outcomes = _distributed(rows, connected)
    else:
        outcomes = _distributed(rows, client)
    return [_merged(design, outcome) for design, outcome in zip(designs, outcomes)]
