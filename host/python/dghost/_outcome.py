"""Outcomes of host commands: messages to the `dghost` logger, failures raised."""

import logging

logger = logging.getLogger("dghost")

_LEVELS = {"error": logging.ERROR, "warning": logging.WARNING, "info": logging.INFO}


class CommandError(RuntimeError):
    """A command whose status was a failure.

    `command` is the command's name, `status` its status code name
    ("kFailure", "kInvalidParameter"...), `errors` every error it showed.
    """

    def __init__(self, command, status, errors, status_text):
        self.command = command
        self.status = status
        self.errors = list(errors)
        super().__init__("\n".join(self.errors) if self.errors else f"{command}: {status_text}")


def log_message(kind, text):
    """Shows a host message through the `dghost` logger."""
    logger.log(_LEVELS.get(kind, logging.INFO), "%s", text)


def finish(outcome):
    """Logs what the command showed; returns its result or raises CommandError."""
    status, status_text, result, errors, warnings, infos, invoked = outcome
    words = invoked.split(None, 1)
    command = words[0] if words else ""
    for text in errors:
        logger.error("%s", text)
    for text in warnings:
        logger.warning("%s", text)
    for text in infos:
        logger.info("%s", text)
    if status != "kSuccess":
        raise CommandError(command, status, errors, status_text)
    return result
