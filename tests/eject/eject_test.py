#!/usr/bin/env python3
"""brenvik-cli eject against a stand-in udisks2 on a private system bus: which objects are unmounted
and switched off, what is said, and that a card another program is changing is left alone."""
import fcntl
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import test_children  # noqa: E402

try:
    import dbus
    import dbusmock
except ImportError:
    # python3-dbusmock is installed for Debian's own python3, which may not be the first on PATH.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    print("python3-dbusmock cannot be imported: skipped")
    sys.exit(77)

UDISKS = "org.freedesktop.UDisks2"
ROOT = "/org/freedesktop/UDisks2"
CARD_FS = ROOT + "/block_devices/mmcblk0p1"  # listed before the disk's: the last is not taken
CARD_DRIVE = ROOT + "/drives/Card_Reader"
DISK_FS = ROOT + "/block_devices/sda1"
DISK_DRIVE = ROOT + "/drives/Internal_Disk"
FAIL = "raise dbus.exceptions.DBusException('%s', name='org.freedesktop.UDisks2.Error.Failed')"


def managed_objects(mount_point, removable):
    """The objects udisks2 would list: the card's file system, mounted where the card lies, and
    the internal disk's, mounted elsewhere."""
    def mounts(path):
        return "dbus.Array([dbus.ByteArray(%r)], signature='ay')" % (path.encode() + b"\0")
    def fs(drive, path):
        return ("{'org.freedesktop.UDisks2.Block': {'Drive': dbus.ObjectPath('%s')}, "
                "'org.freedesktop.UDisks2.Filesystem': {'MountPoints': %s}}" % (drive, mounts(path)))
    def drive(removable):
        return "{'org.freedesktop.UDisks2.Drive': {'Removable': %s, 'CanPowerOff': True}}" % removable
    return "ret = {'%s': %s, '%s': %s, '%s': %s, '%s': %s}" % (
        CARD_FS, fs(CARD_DRIVE, mount_point), CARD_DRIVE, drive(removable),
        DISK_FS, fs(DISK_DRIVE, "/nowhere"), DISK_DRIVE, drive(False))


class EjectTest(dbusmock.DBusTestCase):
    @classmethod
    def start_dbus(cls, conf=None):
        """The bus in the foreground, as this test's child (dbusmock's own forks it away)."""
        cls.bus_daemon = subprocess.Popen(["dbus-daemon", "--nofork", "--print-address=1",
                                           "--config-file=" + str(conf)], stdout=subprocess.PIPE, text=True)
        return cls.bus_daemon.pid, cls.bus_daemon.stdout.readline().strip()

    @classmethod
    def stop_dbus(cls, pid):
        cls.bus_daemon.terminate()
        cls.bus_daemon.wait()
        cls.bus_daemon.stdout.close()

    @classmethod
    def setUpClass(cls):
        dbusmock.DBusTestCase.start_dbus = cls.start_dbus  # dbusmock starts the bus through its base
        cls.start_system_bus()  # private: DBUS_SYSTEM_BUS_ADDRESS names it from here on
        cls.bus = cls.get_dbus(system_bus=True)

    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.card = os.path.join(self.temp.name, "CARD")  # below its volume's mount point
        os.mkdir(self.card)
        self.mount_point = subprocess.run(["findmnt", "-n", "-o", "TARGET", "-T", self.card], check=True,
                                          capture_output=True, text=True).stdout.strip()

    def tearDown(self):
        self.temp.cleanup()

    def eject(self):
        run = subprocess.run([CLI, "eject", self.card], capture_output=True, text=True)
        return run.returncode, run.stdout + run.stderr

    def start_udisks(self, removable=True, unmount="", power_off=""):
        server = self.spawn_server(UDISKS, ROOT, "org.freedesktop.DBus.ObjectManager", system_bus=True)
        self.addCleanup(server.wait)
        self.addCleanup(server.terminate)
        root = dbus.Interface(self.bus.get_object(UDISKS, ROOT), dbusmock.MOCK_IFACE)
        root.AddMethod("org.freedesktop.DBus.ObjectManager", "GetManagedObjects", "", "a{oa{sa{sv}}}",
                       managed_objects(self.mount_point, removable))
        for path, interface, method, code in [(CARD_FS, "Filesystem", "Unmount", unmount),
                                              (CARD_DRIVE, "Drive", "PowerOff", power_off),
                                              (DISK_FS, "Filesystem", "Unmount", ""),
                                              (DISK_DRIVE, "Drive", "PowerOff", "")]:
            root.AddObject(path, "org.freedesktop.UDisks2." + interface, {}, [(method, "a{sv}", "", code)])

    def calls(self):
        """Every call made on a udisks2 object but the listing, as 'object method'."""
        made = []
        for path in (CARD_FS, CARD_DRIVE, DISK_FS, DISK_DRIVE):
            mock = dbus.Interface(self.bus.get_object(UDISKS, path), dbusmock.MOCK_IFACE)
            made += ["%s %s %s" % (path.rsplit("/", 1)[1], name, [dict(a) for a in args]) for _, name, args in mock.GetCalls()]
        return made

    def test_no_udisks(self):
        self.assertEqual(self.eject(), (1, "The card %s was not ejected\n  no udisks2 service runs here\n" % self.card))

    def test_ejects(self):
        # name, the stand-in's answers, the exit status, what is said, the calls made
        pulled = "The card %s can be pulled out now\n" % self.card
        rows = [
            ("powered off", {}, 0, pulled, ["mmcblk0p1 Unmount [{}]", "Card_Reader PowerOff [{}]"]),
            ("power-off fails", {"power_off": FAIL % "drive busy"}, 0,
             pulled + "  it is unmounted, but could not be switched off: drive busy\n",
             ["mmcblk0p1 Unmount [{}]", "Card_Reader PowerOff [{}]"]),
            ("unmount fails", {"unmount": FAIL % "target is busy"}, 1,
             "The card %s was not ejected\n  target is busy\n" % self.card, ["mmcblk0p1 Unmount [{}]"]),
            ("not removable", {"removable": False}, 1,
             "The card %s was not ejected\n  the card is not a removable device udisks2 knows\n" % self.card, []),
        ]
        for name, answers, status, said, calls in rows:
            with self.subTest(name):
                self.start_udisks(**answers)
                self.assertEqual(self.eject(), (status, said))
                self.assertEqual(self.calls(), calls)
                self.doCleanups()

    def test_change_under_way_and_interrupted(self):
        self.start_udisks()
        held = os.open(self.card, os.O_RDONLY | os.O_DIRECTORY)  # as a program changing the card holds it
        fcntl.flock(held, fcntl.LOCK_EX)
        self.assertEqual(self.eject(), (1, "A change to the card %s is under way; it was not ejected\n" % self.card))
        os.close(held)
        self.assertEqual(self.calls(), [])
        # What a change left on the card is settled before the card is ejected.
        os.makedirs(os.path.join(self.card, ".brenvik-staging", "staged"))
        self.assertEqual(self.eject(), (0, "The card %s can be pulled out now\n" % self.card))
        self.assertFalse(os.path.exists(os.path.join(self.card, ".brenvik-staging")))
        self.assertEqual(len(self.calls()), 2)


if __name__ == "__main__":
    CLI = sys.argv.pop(1)
    test_children.tie_children_to_this_test()  # the bus and the stand-in udisks2 end with the test
    import unittest
    unittest.main()
