"""The game's music and engine loops, synthesised here and encoded with lame.

Three short original pieces, one per level, and three engine loops. Each
engine loop is an exact whole number of its own periods and is built with
circular filtering, so its last sample runs straight into its first; lame's
Info tag records the encoder delay and padding so a gapless decoder gives
back exactly those samples.
"""
import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 44100
MUSIC_BITRATE = 56
ENGINE_BITRATE = 64
MP3_FRAME = 1152
LAME_FLAGS = ['--quiet', '--noreplaygain', '--cbr', '-m', 'm', '--resample', '44.1']

NOTE_NAMES = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}


def midi(name):
    """'A4' -> 69, 'G#5' -> 80, 'Bb3' -> 58."""
    pitch = NOTE_NAMES[name[0]]
    rest = name[1:]
    while rest and rest[0] in '#b':
        pitch += 1 if rest[0] == '#' else -1
        rest = rest[1:]
    return pitch + 12 * (int(rest) + 1)


def frequency(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def parse_line(text):
    """'E5:1 C5:.5 R:1 | ...' -> [(note or None, beats)]; bars are cosmetic."""
    notes = []
    for token in text.replace('|', ' ').split():
        name, beats = token.split(':')
        notes.append((None if name == 'R' else midi(name), float(beats)))
    return notes


def envelope(count, attack, release, sustain=1.0, decay=0.0):
    t = np.arange(count) / RATE
    env = np.minimum(1.0, t / max(attack, 1e-4))
    if decay > 0:
        env *= sustain + (1 - sustain) * np.exp(-t / decay)
    tail = np.clip((count / RATE - t) / max(release, 1e-4), 0.0, 1.0)
    return env * tail


# ------------------------------------------------------------------ voices

def voice_reed(f, seconds, rng):
    """Accordion-like reed: bright harmonics, two slightly detuned reeds."""
    t = np.arange(int(seconds * RATE)) / RATE
    wave_sum = np.zeros_like(t)
    for detune in (1.0, 1.004):
        phase = 2 * np.pi * f * detune * t + 0.003 * np.sin(2 * np.pi * 5.5 * t)
        for k in range(1, 9):
            wave_sum += np.sin(k * phase) / k ** 1.1
    return wave_sum * envelope(len(t), 0.02, 0.06) * 0.18


def voice_pluck(f, seconds, rng):
    """Plucked string: harmonics that die away faster the higher they are."""
    t = np.arange(int(seconds * RATE)) / RATE
    out = np.zeros_like(t)
    for k in range(1, 10):
        out += np.sin(2 * np.pi * f * k * t + rng.uniform(0, 6.3)) * np.exp(-t * (3 + 2.5 * k)) / k
    return out * envelope(len(t), 0.002, 0.03) * 0.3


def voice_bass(f, seconds, rng):
    t = np.arange(int(seconds * RATE)) / RATE
    out = np.sin(2 * np.pi * f * t) + 0.35 * np.sin(4 * np.pi * f * t) + 0.1 * np.sin(6 * np.pi * f * t)
    return out * envelope(len(t), 0.005, 0.05, sustain=0.6, decay=0.25) * 0.42


def voice_brass(f, seconds, rng):
    """Saw-like brass whose upper harmonics swell in with the attack."""
    t = np.arange(int(seconds * RATE)) / RATE
    brightness = 1.0 - np.exp(-t / 0.06)
    out = np.zeros_like(t)
    for k in range(1, 12):
        out += np.sin(2 * np.pi * f * k * t) / k * brightness ** (k * 0.5)
    return out * envelope(len(t), 0.03, 0.08, sustain=0.8, decay=0.3) * 0.2


def voice_guitar(f, seconds, rng):
    """Distorted power chord: root and fifth through a soft clipper."""
    t = np.arange(int(seconds * RATE)) / RATE
    raw = np.zeros_like(t)
    for ratio in (1.0, 1.4983, 2.0):
        phase = f * ratio * t
        raw += 2 * (phase - np.floor(phase + 0.5))
    out = np.tanh(raw * 3.0) * envelope(len(t), 0.004, 0.03, sustain=0.7, decay=0.4)
    return out * 0.16


def voice_lead(f, seconds, rng):
    """Singing distorted lead with a delayed vibrato."""
    t = np.arange(int(seconds * RATE)) / RATE
    vibrato = 0.006 * np.clip(t / 0.3, 0, 1) * np.sin(2 * np.pi * 6 * t)
    phase = np.cumsum(f * (1 + vibrato)) / RATE
    raw = 2 * (phase - np.floor(phase + 0.5))
    return np.tanh(raw * 2.0) * envelope(len(t), 0.01, 0.06) * 0.15


def drum_kick(rng):
    t = np.arange(int(0.35 * RATE)) / RATE
    sweep = 45 + 90 * np.exp(-t / 0.03)
    return np.sin(2 * np.pi * np.cumsum(sweep) / RATE) * np.exp(-t / 0.12) * 0.9


def drum_snare(rng):
    t = np.arange(int(0.25 * RATE)) / RATE
    noise = rng.uniform(-1, 1, len(t))
    return (noise * np.exp(-t / 0.06) * 0.5 + np.sin(2 * np.pi * 185 * t) * np.exp(-t / 0.04) * 0.4)


def drum_hat(rng):
    t = np.arange(int(0.06 * RATE)) / RATE
    noise = np.diff(rng.uniform(-1, 1, len(t) + 1))
    return noise * np.exp(-t / 0.015) * 0.22


VOICES = {'reed': voice_reed, 'pluck': voice_pluck, 'bass': voice_bass, 'brass': voice_brass,
          'guitar': voice_guitar, 'lead': voice_lead}
DRUMS = {'K': drum_kick, 'S': drum_snare, 'H': drum_hat}


# ------------------------------------------------------------- arranging

class Score:
    """A buffer that notes and drum hits are mixed into, timed in beats."""

    def __init__(self, tempo, beats, seed):
        self.beat = 60.0 / tempo
        self.audio = np.zeros(int((beats * self.beat + 2.0) * RATE))
        self.rng = np.random.RandomState(seed)

    def add(self, start_beat, sound, gain=1.0):
        i = int(start_beat * self.beat * RATE)
        sound = sound[:len(self.audio) - i]
        self.audio[i:i + len(sound)] += sound * gain

    def line(self, start_beat, voice, notes, gain=1.0, transpose=0, legato=0.95):
        beat = start_beat
        for note, beats in notes:
            if note is not None:
                seconds = beats * self.beat * legato
                self.add(beat, VOICES[voice](frequency(note + transpose), seconds, self.rng), gain)
            beat += beats

    def drums(self, start_beat, pattern, bars, gain=1.0):
        """pattern: one string per drum, one character per sixteenth of a 4/4 bar."""
        for bar in range(bars):
            for drum, steps in pattern.items():
                for k, hit in enumerate(steps):
                    if hit != '.':
                        accent = 1.0 if hit == 'X' else 0.6
                        self.add(start_beat + bar * 4 + k / 4.0, DRUMS[drum](self.rng), gain * accent)


def chord_pattern(chords, figure, beats_per_chord):
    """Expands chords ('A2m' minor, 'F2' major) into a repeating figure of
    semitone offsets from the root; 'T' is the chord's third an octave up."""
    notes = []
    for chord in chords:
        minor = chord.endswith('m')
        root = midi(chord.rstrip('m'))
        third = 12 + (3 if minor else 4)
        step = beats_per_chord / len(figure)
        notes += [(root + (third if offset == 'T' else offset), step) for offset in figure]
    return notes


def master(audio):
    audio = audio / (np.max(np.abs(audio)) + 1e-9) * 0.89
    fade = int(1.5 * RATE)
    audio[-fade:] *= np.linspace(1.0, 0.0, fade)
    return audio


# -------------------------------------------------------------- the songs

# Level 1: a brisk folk dance in A minor, reed melody over plucked strings.
FOLK_CHORDS = ['A2m', 'D3m', 'G2', 'C3', 'F2', 'D3m', 'E2', 'A2m']
FOLK_A = ('E5:1 C5:.5 D5:.5 E5:1 A4:1 | F5:1 E5:.5 D5:.5 D5:1 A4:1 | G5:1 F5:.5 E5:.5 D5:1 B4:1 |'
          'E5:1.5 D5:.5 C5:2 | A5:1 G5:.5 F5:.5 F5:1 C5:1 | D5:1 F5:1 A5:1 F5:1 |'
          'E5:1 G#4:1 B4:1 D5:1 | C5:1 B4:.5 G#4:.5 A4:2')
FOLK_B = ('A5:.5 A5:.5 G5:.5 F5:.5 E5:1 C5:1 | D5:.5 E5:.5 F5:.5 E5:.5 D5:2 | B4:.5 C5:.5 D5:.5 B4:.5 G4:1 D5:1 |'
          'C5:.5 D5:.5 E5:.5 G5:.5 E5:2 | F5:1 A5:1 C6:1 A5:1 | F5:.5 E5:.5 D5:.5 F5:.5 A5:2 |'
          'G#5:1 E5:.5 F5:.5 E5:.5 D5:.5 B4:1 | A4:1 E5:1 A5:2')


def folk_song():
    bars = 28
    score = Score(132, bars * 4, 101)
    drums = {'K': 'X.......X.......', 'S': '....X.......X...', 'H': 'x.x.x.x.x.x.x.x.'}
    score.drums(0, drums, bars)
    strum_figure = [12, 19, 24, 19, 'T', 19, 24, 19]
    score.line(0, 'pluck', chord_pattern(['A2m', 'A2m'], strum_figure, 4), 0.7, legato=1.4)
    for start in (8, 40, 72):
        score.line(start, 'pluck', chord_pattern(FOLK_CHORDS, strum_figure, 4), 0.7, legato=1.4)
        score.line(start, 'bass', chord_pattern(FOLK_CHORDS, [0, 7, 0, 7], 4))
    score.line(8, 'reed', parse_line(FOLK_A))
    score.line(40, 'reed', parse_line(FOLK_B))
    score.line(72, 'reed', parse_line(FOLK_A), transpose=12, gain=0.8)
    score.line(72, 'reed', parse_line(FOLK_A), gain=0.6)
    score.line(104, 'reed', parse_line('E5:1 C5:1 B4:1 G#4:1 | A4:4'))
    score.line(104, 'pluck', chord_pattern(['E2', 'A2m'], strum_figure, 4), 0.7, legato=1.4)
    score.line(104, 'bass', parse_line('E2:2 E2:2 | A1:4'))
    return master(score.audio)


# Level 2: a driving march in D minor, brass over a pulsing bass.
MARCH_CHORDS = ['D2m', 'Bb1', 'C2', 'A1']
MARCH_A = ('D5:1.5 A4:.5 D5:1 F5:1 | F5:1.5 E5:.5 D5:2 | E5:1.5 C5:.5 E5:1 G5:1 | A5:3 R:1 |'
           'Bb5:1.5 A5:.5 G5:1 F5:1 | D5:1.5 F5:.5 Bb5:2 | G5:1 E5:1 C5:1 G4:1 | A4:1 C#5:1 E5:2')
MARCH_B = ('A5:.5 A5:.5 A5:1 F5:1 D5:1 | Bb5:.5 Bb5:.5 Bb5:1 F5:2 | G5:.5 G5:.5 G5:1 E5:1 C5:1 |'
           'A5:1 C#5:1 E5:1 A5:1 | D6:2 A5:2 | Bb5:2 F5:2 | C6:1 Bb5:1 A5:1 G5:1 | A5:4')


def march_song():
    bars = 30
    score = Score(140, bars * 4, 102)
    drums = {'K': 'X.......X.......', 'S': '....X..x....X.xx', 'H': 'x.xxx.xxx.xxx.xx'}
    score.drums(0, drums, bars, 0.9)
    pulse = [0, 12, 0, 12, 0, 12, 0, 12]
    score.line(0, 'bass', chord_pattern(MARCH_CHORDS, pulse, 4), legato=0.7)
    for start in (16, 48, 80):
        score.line(start, 'bass', chord_pattern(MARCH_CHORDS * 2, pulse, 4), legato=0.7)
    score.line(16, 'brass', parse_line(MARCH_A))
    score.line(48, 'brass', parse_line(MARCH_B))
    score.line(48, 'pluck', chord_pattern(MARCH_CHORDS * 2, [24, 'T', 31, 'T'], 4), 0.5)
    score.line(80, 'brass', parse_line(MARCH_A))
    score.line(80, 'brass', parse_line(MARCH_A), transpose=-12, gain=0.6)
    score.line(112, 'brass', parse_line('A4:2 C#5:2 | D5:4'))
    score.line(112, 'bass', parse_line('A1:2 A1:2 | D2:4'))
    return master(score.audio)


# Level 3: a fast metal piece in E minor, chugging guitar and double kick.
METAL_CHORDS = ['E2m', 'C2', 'D2', 'B1']
METAL_A = ('E5:1 G5:1 B5:1 A5:.5 G5:.5 | E5:2 D5:1 E5:1 | F#5:1 A5:1 D6:1 C6:.5 B5:.5 | B5:3 R:1 |'
           'E5:1 G5:1 B5:1 E6:1 | C6:1.5 B5:.5 A5:2 | A5:1 G5:1 F#5:1 D5:1 | D#5:2 F#5:2')
METAL_B = ('B5:.5 A5:.5 G5:.5 F#5:.5 E5:1 B4:1 | C5:.5 D5:.5 E5:.5 G5:.5 C6:2 | D6:.5 C6:.5 B5:.5 A5:.5 F#5:2 |'
           'B5:1 D#6:1 F#6:2 | G6:1 F#6:1 E6:1 B5:1 | C6:2 E6:2 | D6:1 C6:1 A5:1 F#5:1 | B5:4')


def metal_song():
    bars = 34
    score = Score(168, bars * 4, 103)
    intro = {'K': 'X.......X.......', 'S': '........X.......', 'H': 'x...x...x...x...'}
    verse = {'K': 'X.X.X.X.X.X.X.X.', 'S': '....X.......X...', 'H': 'x.x.x.x.x.x.x.x.'}
    score.drums(0, intro, 4)
    score.drums(16, verse, 28, 0.9)
    for start in (0, 32, 64, 96):
        score.line(start, 'guitar', chord_pattern(METAL_CHORDS * 2, [0] * 8, 4), legato=0.55)
        score.line(start, 'bass', chord_pattern(METAL_CHORDS * 2, [0, 0, 12, 0], 4), 0.8)
    score.line(32, 'lead', parse_line(METAL_A))
    score.line(64, 'lead', parse_line(METAL_B))
    score.line(96, 'lead', parse_line(METAL_A))
    score.line(96, 'lead', parse_line(METAL_A), transpose=-12, gain=0.5)
    score.line(128, 'guitar', parse_line('E2:8'), legato=1.0)
    score.drums(128, {'K': 'X...............', 'S': 'X...............'}, 1)
    return master(score.audio)


# ----------------------------------------------------------------- engines

ENGINE_SAMPLES = MP3_FRAME * 40  # about 1.04 s, a whole number of frames
CYLINDERS = 4
# Firing period in samples; each divides ENGINE_SAMPLES / CYLINDERS, so the
# loop holds a whole number of engine cycles.
ENGINES = {'engineidle.mp3': dict(period=1280, body=180.0, noise=0.25, seed=201),
           'engineacc.mp3': dict(period=480, body=420.0, noise=0.35, seed=202),
           'enginemaxspeed.mp3': dict(period=288, body=650.0, noise=0.3, seed=203)}


def circular_band(signal, low, high):
    """Band-pass by FFT over the whole loop, so the result stays periodic."""
    spectrum = np.fft.rfft(signal)
    freqs = np.fft.rfftfreq(len(signal), 1.0 / RATE)
    spectrum[(freqs < low) | (freqs > high)] = 0
    return np.fft.irfft(spectrum, len(signal))


def engine_loop(period, body, noise, seed):
    assert ENGINE_SAMPLES % (period * CYLINDERS) == 0
    rng = np.random.RandomState(seed)
    t = np.arange(period) / RATE
    firing = np.sin(2 * np.pi * body * t) * np.exp(-t * body / 6.0) \
        + 0.6 * np.sin(2 * np.pi * body * 2.7 * t) * np.exp(-t * body / 3.0)
    cycle = np.concatenate([firing * level for level in (1.0, 0.8, 0.93, 0.75)])
    audio = np.tile(cycle, ENGINE_SAMPLES // len(cycle))
    rumble = circular_band(rng.normal(size=ENGINE_SAMPLES), 40, body * 3)
    audio = audio + noise * rumble / np.std(rumble) * np.std(audio)
    return audio / np.max(np.abs(audio)) * 0.8


# ---------------------------------------------------------------- encoding

def encode_mp3(audio, path, bitrate):
    pcm = (np.clip(audio, -1, 1) * 32767).astype('<i2').tobytes()
    with tempfile.TemporaryDirectory() as scratch:
        wav_path = os.path.join(scratch, 'in.wav')
        with wave.open(wav_path, 'wb') as wav:
            wav.setnchannels(1)
            wav.setsampwidth(2)
            wav.setframerate(RATE)
            wav.writeframes(pcm)
        subprocess.run(['lame'] + LAME_FLAGS + ['-b', str(bitrate), wav_path, path], check=True)


def make_sounds(directory):
    audio_dir = os.path.join(directory, 'audio')
    os.makedirs(audio_dir, exist_ok=True)
    songs = {'katyusha.mp3': folk_song, 'redalert.mp3': march_song, 'metal_ussr.mp3': metal_song}
    for name, song in songs.items():
        encode_mp3(song(), os.path.join(audio_dir, name), MUSIC_BITRATE)
    for name, params in ENGINES.items():
        encode_mp3(engine_loop(**params), os.path.join(audio_dir, name), ENGINE_BITRATE)
