#!/usr/bin/env python3
"""Writes a results folder whose one run holds many distinct optimal schedules, to measure the
report on it: python3 make-folder.py DIR [SCHEDULES] [JOBS] [MACHINES] [SEED].

The instance is a flow shop in which job 1 takes 100 on every machine and every other job takes
0, so that every machine order is an optimal schedule of makespan 100 * MACHINES: the folder is
as large as asked for and every schedule in it rebuilds to its recorded makespan."""
import os
import random
import struct
import sys


def instance_text(jobs, machines):
    lines = [str(jobs), str(machines), str(100 * machines)]
    for job in range(jobs):
        lines.append(" ".join("100" if job == 0 else "0" for _ in range(machines)))
    for _ in range(jobs):
        lines.append(" ".join(str(m + 1) for m in range(machines)))
    return "\n".join(lines) + "\n"


def distinct_schedules(count, jobs, machines, random_source):
    seen = set()
    schedules = []
    while len(schedules) < count:
        cells = []
        for _ in range(machines):
            row = list(range(1, jobs + 1))
            random_source.shuffle(row)
            cells.extend(row)
        key = tuple(cells)
        if key not in seen:
            seen.add(key)
            schedules.append(cells)
    return schedules


def average_distance(schedules):
    """Twice the sum of the cells that differ over all pairs, over n(n - 1), as a 32-bit float:
    per cell, the pairs minus the pairs that hold the same job there."""
    n = len(schedules)
    pairs = n * (n - 1) // 2
    total = 0
    for cell in range(len(schedules[0])):
        counts = {}
        for schedule in schedules:
            counts[schedule[cell]] = counts.get(schedule[cell], 0) + 1
        total += pairs - sum(c * (c - 1) // 2 for c in counts.values())
    value = 2.0 * total / (n * (n - 1))
    return struct.unpack("f", struct.pack("f", value))[0]


def main():
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
    jobs = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    machines = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    seed = int(sys.argv[5]) if len(sys.argv) > 5 else 1
    makespan = 100 * machines
    schedules = distinct_schedules(count, jobs, machines, random.Random(seed))
    os.makedirs(folder, exist_ok=True)

    def write(name, text):
        with open(os.path.join(folder, name), "w") as out:
            out.write(text)

    write("D_Entrada.txt", instance_text(jobs, machines))
    write("D_Sal_Mejores.txt", f"{makespan:.1f} 0\n\n")
    write("D_Sal_Optimos.txt", f"{makespan:.1f}\n")
    write("D_Sal_NumOptimos.txt", f"{count}\n")
    write("D_Sal_Distancias.txt", f"{average_distance(schedules):.2f}\n")
    write("D_Sal_Soluciones.txt",
          "".join(" ".join(map(str, s)) + f" {makespan} \n" for s in schedules) + "\n")


if __name__ == "__main__":
    main()
