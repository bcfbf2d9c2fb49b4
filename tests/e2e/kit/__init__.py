"""What the end-to-end suites share in Python: screenshots read as RGB rows, and pixel checks."""
