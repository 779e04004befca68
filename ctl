unplug
