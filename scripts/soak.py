#!/usr/bin/env python3
"""The soak: the real program, headless, on the demo levels with seeded random play.

    scripts/soak.py --game build-test/game --seconds 600 --seed 1     (make soak SOAK_SECONDS=600)

The time is spent in rounds. Each round is one run of the program on the next demo level, with a
random input script drawn from the seed: walking, strafing, turning with the mouse, jumping,
firing, and now and then a trip through the menus (the options screen, the credits, or the level
list to start another level). A round ends when its time is up (the program is asked to quit,
as Ctrl+C would), or earlier when the game ends by itself (the player died and the game over
screen was left).

A round fails on: an exit code other than 0 or a death by signal (a crash), a sanitizer report
in its output, an actor with a non-finite place or speed in the state dump written at exit, or
resident memory that grows more than 10% above the highest it reached in the round's first
minute (sampled every second while it plays; the shutdown's own work, the dump and the leak
check, is not counted). The memory curve of every round goes to soak-rounds.csv in the output folder.
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

STEPS_PER_SECOND = 60
FIRST_MINUTE = 60.0
GROWTH_LIMIT = 1.10
SANITIZER_REPORT = re.compile(r'ERROR: (Address|Leak|Memory|Thread)Sanitizer|runtime error:|SUMMARY: \w+Sanitizer')
LEVELS = ['Demo1', 'Demo2']


def tap(events, step, key, hold=2):
    events.append((step, f'key {key} down'))
    events.append((step + hold, f'key {key} up'))
    return step + hold + 2


def menu_trip(rng, events, step, level_count):
    """Escape into the main menu (NEW GAME, OPTIONS, CREDITS, EXIT) and back, or into a level."""
    step = tap(events, step, 'Escape') + 10
    trip = rng.choice(['level', 'options', 'credits', 'close'])
    if trip == 'level':
        step = tap(events, step, 'Enter') + 10  # NEW GAME: the level list
        for _ in range(rng.randrange(level_count)):
            step = tap(events, step, 'Down') + 4
        return tap(events, step, 'Enter') + 30, True
    if trip == 'options':
        step = tap(events, step, 'Down') + 4
        step = tap(events, step, 'Enter') + 10
        for _ in range(rng.randrange(4, 16)):
            step = tap(events, step, rng.choice(['Up', 'Down', 'Left', 'Right'])) + 4
        step = tap(events, step, 'Escape') + 10  # back to the main menu, the options saved
    elif trip == 'credits':
        step = tap(events, step, 'Down') + 4
        step = tap(events, step, 'Down') + 4
        step = tap(events, step, 'Enter') + 60
        step = tap(events, step, 'Escape') + 10
    return tap(events, step, 'Escape') + 10, False


def random_script(rng, steps, level_count):
    """Events for the given number of steps; returns the script's text and its level changes."""
    events = []
    step = 1
    next_trip = rng.randrange(5, 15) * STEPS_PER_SECOND
    level_changes = 0
    while step < steps:
        if step >= next_trip:
            step, changed = menu_trip(rng, events, step, level_count)
            level_changes += changed
            next_trip = step + rng.randrange(10, 30) * STEPS_PER_SECOND
            continue
        length = rng.randrange(20, 180)
        keys = rng.sample(['W', 'W', 'W', 'A', 'D', 'S'], rng.randrange(1, 3))
        for key in set(keys):
            events.append((step, f'key {key} down'))
            events.append((step + length, f'key {key} up'))
        for at in range(step, step + length, rng.randrange(4, 12)):
            if rng.random() < 0.5:
                events.append((at, f'mouse {rng.randrange(-60, 61)} {rng.randrange(-8, 9)}'))
        if rng.random() < 0.4:
            tap(events, step + rng.randrange(length), 'Space', 3)
        if rng.random() < 0.5:
            at = step + rng.randrange(length)
            events.append((at, 'button left down'))
            events.append((at + rng.randrange(5, 90), 'button left up'))
        if rng.random() < 0.1:
            tap(events, step + rng.randrange(length), 'Ctrl', rng.randrange(2, 30))
        step += length + rng.randrange(1, 20)
    events.sort(key=lambda e: e[0])
    return ''.join(f'{at} {what}\n' for at, what in events), level_changes


def resident_kib(pid):
    try:
        with open(f'/proc/{pid}/status') as status:
            for line in status:
                if line.startswith('VmRSS:'):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def non_finite_actors(dump_path):
    """Names of the actors whose place or speed the dump could not write as numbers."""
    bad = []
    with open(dump_path) as dump:
        for line in dump:
            record = json.loads(line)
            for key in ('Location', 'Velocity'):
                value = record.get(key)
                if isinstance(value, list) and any(not isinstance(v, (int, float)) for v in value):
                    bad.append(f"{record.get('Name')} ({key} {value})")
    return bad


def run_round(args, index, level, seconds, rng, work, curve):
    script_text, planned_changes = random_script(rng, int(seconds * STEPS_PER_SECOND * 20), len(LEVELS))
    script = os.path.join(work, f'round{index}.txt')
    with open(script, 'w') as out:
        out.write(script_text)
    config = os.path.join(work, f'round{index}.ini')
    god = index % 3 != 2  # one round in three the player can die
    with open(os.path.join(args.game, 'Orvane.ini'), newline='') as settings:
        text = re.sub(r'(?mi)^(GodMode|ScreenWidth|ScreenHeight)=.*$', '', settings.read())
    with open(config, 'w', newline='') as out:
        # A small window: the software renderer of a headless run draws every step's frame.
        out.write(text + f'\r\nGodMode={"true" if god else "false"}\r\nScreenWidth=320\r\nScreenHeight=240\r\n')
    dump = os.path.join(work, f'round{index}.json')
    log = os.path.join(work, f'round{index}.log')
    command = [os.path.abspath(os.path.join(args.game, 'orvane')), '--headless', '--fixed-step',
               '--seed', str(rng.randrange(1 << 31)), '--input', script, '--config', config,
               '--dump', dump, '--log', log, f'Maps\\{level}.t3d']
    env = dict(os.environ)
    # A small quarantine, so that freed memory held back by the address checker does not read as growth.
    env.setdefault('ASAN_OPTIONS', 'quarantine_size_mb=8:detect_leaks=1')
    output_path = os.path.join(work, f'round{index}.out')
    start = time.monotonic()
    with open(output_path, 'w') as output:
        process = subprocess.Popen(command, stdout=output, stderr=subprocess.STDOUT, env=env)
        samples = []
        asked_to_quit = False
        while process.poll() is None:
            elapsed = time.monotonic() - start
            if elapsed >= seconds and not asked_to_quit:
                process.send_signal(signal.SIGTERM)
                asked_to_quit = True
            if elapsed >= seconds + 120:
                process.kill()
            rss = resident_kib(process.pid)
            if rss is not None and not asked_to_quit:  # the shutdown (dump, leak check) is no play
                samples.append((elapsed, rss))
                curve.write(f'{index},{level},{elapsed:.1f},{rss}\n')
            time.sleep(1.0)
    code = process.returncode
    with open(output_path, errors='replace') as output:
        text = output.read()
    steps = 0
    if os.path.exists(dump):
        with open(dump) as first:
            steps = json.loads(first.readline()).get('Steps', 0)
    level_loads = 0
    if os.path.exists(log):
        with open(log, errors='replace') as lines:
            level_loads = sum(1 for line in lines if line.startswith('Loading level '))

    faults = []
    if code != 0:
        faults.append(f'exit code {code}' + (f' ({signal.Signals(-code).name})' if code < 0 else ''))
    report = SANITIZER_REPORT.search(text)
    if report:
        faults.append('sanitizer report: ' + text[report.start():report.start() + 400])
    if os.path.exists(dump):
        bad = non_finite_actors(dump)
        if bad:
            faults.append('non-finite: ' + ', '.join(bad[:5]))
    elif code == 0:
        faults.append('no state dump written')
    early = [rss for t, rss in samples if t <= FIRST_MINUTE]
    late = [rss for t, rss in samples if t > FIRST_MINUTE]
    growth = ''
    if early and late:
        baseline, peak = max(early), max(late)
        growth = f'{baseline // 1024} MiB after the first minute, {peak // 1024} MiB at most later ({(peak / baseline - 1) * 100:+.1f}%)'
        if peak > baseline * GROWTH_LIMIT:
            faults.append('resident memory grew: ' + growth)
    elif samples:
        growth = f'{max(rss for _, rss in samples) // 1024} MiB at most (round shorter than a minute)'
    wall = time.monotonic() - start
    print(f'round {index}: {level}, {wall:.0f} s, {steps} steps, {max(level_loads - 1, 0)} level changes'
          f'{"" if god else ", God mode off"}; {growth}' + (f'; FAILED: {"; ".join(faults)}' if faults else ''),
          flush=True)
    if faults:
        print(f'  its files: {script}, {log}, {output_path}, {dump}', flush=True)
    return not faults, steps, max(level_loads - 1, 0)


def main():
    parser = argparse.ArgumentParser(description='Plays the demo levels headless with seeded random input and '
                                                 'fails on a crash, a sanitizer report, a non-finite place or '
                                                 'memory growth.')
    parser.add_argument('--game', required=True, help='the game tree with a sanitized orvane (build-test/game)')
    parser.add_argument('--seconds', type=float, default=600, help='the whole soak (default 600)')
    parser.add_argument('--round-seconds', type=float, default=300, help='longest round (default 300)')
    parser.add_argument('--seed', type=int, default=1, help='the random seed (default 1)')
    parser.add_argument('--out', default=None, help='where scripts, logs and the memory curve go '
                                                   '(default: a soak folder beside the game tree)')
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.game, 'orvane')):
        sys.exit(f'{args.game}/orvane is not there: build the game first')
    work = args.out or os.path.join(os.path.dirname(os.path.abspath(args.game)), 'soak')
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    rng = random.Random(args.seed)
    print(f'Soaking for {args.seconds:.0f} s (seed {args.seed}); files in {work}', flush=True)
    ok, total_steps, total_changes, index = True, 0, 0, 0
    end = time.monotonic() + args.seconds
    with open(os.path.join(work, 'soak-rounds.csv'), 'w') as curve:
        curve.write('round,level,seconds,rss_kib\n')
        while time.monotonic() < end - 5:
            seconds = min(args.round_seconds, end - time.monotonic())
            passed, steps, changes = run_round(args, index, LEVELS[index % len(LEVELS)], seconds, rng, work, curve)
            ok &= passed
            total_steps += steps
            total_changes += changes
            index += 1
    print(f'Soak {"passed" if ok else "FAILED"}: {index} rounds, {total_steps} steps '
          f'({total_steps / STEPS_PER_SECOND:.0f} s of play), {total_changes} level changes')
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
